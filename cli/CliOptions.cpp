#include "CliOptions.h"

#include "CliExport.h"

namespace {

std::optional<SortRequest> ParseSort(const std::string& value)
{
    SortRequest sort;
    const size_t colon = value.rfind(':');
    sort.column = value.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string direction = value.substr(colon + 1);
        if (direction == "desc")
            sort.descending = true;
        else if (direction != "asc")
            return std::nullopt;
    }
    if (sort.column.empty())
        return std::nullopt;
    return sort;
}

// "--name=value" or "--name value".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               std::string& error)
{
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool Is(const std::string& arg, const std::string& name)
{
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

} // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error)
{
    CliOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--list-readers") {
            options.listReaders = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--full") {
            options.full = true;
        } else if (Is(arg, "--reader")) {
            if (!TakeValue(args, i, "--reader", value, error))
                return std::nullopt;
            if (value.empty()) {
                error = "--reader needs a reader number or name";
                return std::nullopt;
            }
            options.reader = value;
        } else if (Is(arg, "--export")) {
            if (!TakeValue(args, i, "--export", value, error))
                return std::nullopt;
            if (value.empty()) {
                error = "--export needs a directory";
                return std::nullopt;
            }
            options.exportDir = value;
        } else if (Is(arg, "--trace")) {
            if (!TakeValue(args, i, "--trace", value, error))
                return std::nullopt;
            if (value.empty()) {
                error = "--trace needs a file name";
                return std::nullopt;
            }
            options.traceFile = value;
        } else if (Is(arg, "--sort")) {
            if (!TakeValue(args, i, "--sort", value, error))
                return std::nullopt;
            const std::optional<SortRequest> sort = ParseSort(value);
            if (!sort) {
                error = "--sort takes COLUMN, COLUMN:asc or COLUMN:desc, not \"" + value + "\"";
                return std::nullopt;
            }
            if (!AnyListHasColumn(sort->column)) {
                error = "--sort: no list has a column \"" + sort->column + "\"";
                return std::nullopt;
            }
            options.sorts.push_back(*sort);
        } else if (arg == "--pin" || arg.rfind("--pin=", 0) == 0) {
            error = "the PIN is asked for on the terminal (or read from standard input), never taken from the "
                    "command line";
            return std::nullopt;
        } else {
            error = "unknown argument \"" + arg + "\"";
            return std::nullopt;
        }
    }
    return options;
}

std::string CliUsage()
{
    return R"(Usage: velmora-cli [--reader N|NAME] [--export DIR] [--sort COLUMN[:desc]]... [--json] [--full]
                   [--trace FILE]
       velmora-cli --list-readers
       velmora-cli --help | --version

Reads the GSM SIM card in a PC/SC reader, as the Velmora main dialog does, and
prints what the dialog shows: ICC ID, PIN1 and PIN2 states, IMSI and the
number of phone-book (ADN), fixed-dialling (FDN) and SMS entries.

  --list-readers      print the readers, one "N: NAME" a line, and exit
  --reader N|NAME     the reader by number (from 0, as listed) or by its full
                      name; default 0
  --export DIR        write DIR/PhoneBook.txt, DIR/FDN.txt and DIR/SMS.txt
                      exactly as the list window's Export writes them
  --sort COLUMN[:desc]
                      before exporting, sort like clicks on a list window's
                      column header; COLUMN is a title (Name, Number, From,
                      Date, Message; any case: every list with that column)
                      or a number from 0 (every list with that column;
                      one no list has is refused); ascending unless
                      :desc. May be given more than once: applied in
                      order. Without it the files follow the
                      window's initial order (ascending by the first column,
                      case and accents not counting)
  --json              print everything read as JSON on standard output
                      (fields, entries, messages with all decoded fields,
                      message boxes) instead of the fields
  --full              after the dialog's read, read the whole card and decode
                      it as the 3GPP standards do: every used phone-book
                      record (ADN, FDN, own numbers, service and last dialled
                      numbers) with its record number, UCS2 names, numbers
                      continued in the extension files, the service provider
                      name, every stored message (EF_SMS) with its parts
                      joined; printed in UTF-8 after the fields, under "full"
                      in the JSON, and with --export also DIR/contacts.vcf
                      (vCard 3.0), DIR/contacts.csv and DIR/sms.csv. Never
                      writes to the card
  --trace FILE        write every command sent to the card and its answer,
                      with time stamps, to FILE (PINs shown as **)
  --help              this text
  --version           print the version and exit

Message boxes are printed as "Caption: text" on standard error. PIN1 is asked
for when the card needs it: on a terminal without echo; otherwise one line of
standard input per prompt (PIN entries and the y/n answers to "Wrong PIN"),
so a script can pipe them in. End of input at any prompt counts as Cancel or
No. The PIN is never taken from the command line. While records are read, a
progress line is shown on standard error when that is a terminal.

Exit status:
  0  the card was read (also when the user declined the PIN)
  1  bad command line, or the --trace file cannot be created
  2  no PC/SC service, no reader, or the reader asked for is not listed
  3  no card in the reader ("Empty reader")
  4  the card does not support T=0 ("Insupported Protocol")
  5  PC/SC error while connecting ("PC/SC Error")
  6  the card is not a GSM SIM ("Incompatible card")
  7  a PC/SC error stopped the read (the card was removed, the reader or
     the service went away, the transport failed): what was read before is
     printed
  8  an export file or the trace could not be written
)";
}

std::string CliVersion()
{
    return "velmora-cli " VELMORA_VERSION "\n";
}
