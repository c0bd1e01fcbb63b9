// velmora-cli: the main dialog's reading workflow in a terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "CliExport.h"
#include "CliOptions.h"
#include "CliReport.h"
#include "Console.h"
#include "ExitCodes.h"
#include "FullExport.h"
#include "CardContentFlow.h"
#include "FullJson.h"
#include "FullText.h"
#include "ReadWatch.h"
#include "TerminalInput.h"
#include "TerminalView.h"
#include "Utf8.h"
#include "card/ResultText.h"
#include "ui/logic/MainDialogLogic.h"

namespace {

// The index of --reader N|NAME among the listed readers, or -1.
int ResolveReader(const std::string& wanted, const std::vector<std::u16string>& names)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (Utf16ToUtf8(names[i]) == wanted)
            return static_cast<int>(i);
    }
    if (!wanted.empty() && wanted.size() < 4 && wanted.find_first_not_of("0123456789") == std::string::npos) {
        const int index = std::stoi(wanted);
        if (index < static_cast<int>(names.size()))
            return index;
    }
    return -1;
}

// With --full the JSON ends with "full": what the full read found, or null
// when it did not run.
JsonMembers FullJsonMember(bool wanted, const std::optional<CardContent>& full)
{
    if (!wanted)
        return {};
    return [&full](nlohmann::ordered_json& json) { json["full"] = full ? FullJson(*full) : nlohmann::ordered_json(); };
}

int ListReaders(const TerminalView& view)
{
    const auto& names = view.ReaderNames();
    for (size_t i = 0; i < names.size(); ++i)
        WriteText(stdout, std::to_string(i) + ": " + Utf16ToUtf8(names[i]) + "\n");
    if (names.empty()) {
        WriteText(stderr, "velmora-cli: no reader found\n");
        return exit_code::NoReader;
    }
    return exit_code::CardRead;
}

int Run(const CliOptions& options)
{
    ReadWatch watch;        // outlives the reader that reports to it
    ReceivedFiles received; // what the dialog's read got, for --full to take; as long-lived
    std::string watchError;
    if (!options.listReaders && !watch.Open(options.traceFile, IsRedrawableTerminal(stderr), watchError)) {
        WriteText(stderr, "velmora-cli: " + watchError + "\n");
        return exit_code::Usage;
    }
    if (options.full)
        watch.Add(received);
    TerminalView view(ReadAnswerLine);
    view.SetBeforeOutput([&watch] { watch.EraseProgress(); });
    MainDialogLogic logic(view);
    logic.OnInitDialog();
    if (options.listReaders)
        return ListReaders(view);

    RunSummary run;
    std::optional<CardContent> full; // what --full read, when it ran
    const int index = ResolveReader(options.reader, view.ReaderNames());
    if (index < 0) {
        if (view.ReaderNames().empty())
            WriteText(stderr, "velmora-cli: no reader found\n");
        else
            WriteText(stderr, "velmora-cli: no reader \"" + options.reader + "\" (see --list-readers)\n");
        run.exitCode = exit_code::NoReader;
    } else {
        view.Select(index);
        run.reader = Utf16ToUtf8(view.ReaderNames()[static_cast<size_t>(index)]);
        CCardReader& reader = *logic.ReaderList().GetReader(static_cast<unsigned>(index));
        watch.Attach(reader);
        run.outcome = logic.OnConnect();
        watch.EraseProgress();
        long interruption = logic.GetInterruption();
        if (options.full) {
            interruption = ReadCardContentAfterConnect(logic, view, run.outcome, static_cast<unsigned>(index),
                                                       interruption, received, full);
            watch.EraseProgress();
        }
        if (interruption == 0 &&
            (run.outcome == ConnectOutcome::Connected || run.outcome == ConnectOutcome::IncompatibleCard))
            interruption = watch.CardGone(reader);
        run.interruption = interruption;
        run.exitCode = ExitCodeFor(run.outcome, interruption);
        // A card the dialog finds incompatible that --full read as a UICC.
        const bool uiccOnly = IsUiccOnlyRead(full);
        if (uiccOnly && run.exitCode == exit_code::IncompatibleCard)
            run.exitCode = exit_code::CardRead;
        if (logic.IsConnected() && options.exportDir &&
            !ExportAll(PathFromUtf8(*options.exportDir), logic, options.sorts, view) &&
            run.exitCode == exit_code::CardRead)
            run.exitCode = exit_code::ExportFailed;
        // Without a full read every --full file is left as it was, and said so.
        if (options.full && (logic.IsConnected() || uiccOnly) && options.exportDir &&
            !ExportFull(PathFromUtf8(*options.exportDir), full ? *full : CardContent{}, view, stderr) &&
            run.exitCode == exit_code::CardRead)
            run.exitCode = exit_code::ExportFailed;
    }
    if (!watch.Close(watchError)) {
        WriteText(stderr, "velmora-cli: " + watchError + "\n");
        if (run.exitCode == exit_code::CardRead)
            run.exitCode = exit_code::ExportFailed;
    }

    if (options.json) {
        WriteText(stdout, JsonReport(run, view, logic, FullJsonMember(options.full, full)));
    } else if (logic.IsConnected() || IsUiccOnlyRead(full)) {
        std::string text = "Reader : " + run.reader + "\n" + FieldsText(view);
        if (full)
            AppendFullText(text, *full);
        WriteText(stdout, text);
    }
    if (run.exitCode == exit_code::Interrupted)
        WriteText(stderr, "velmora-cli: reading stopped by " + PcscResultText(run.interruption) +
                              "; shown is what was read before\n");
    return run.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    SetUpConsole();
    std::string error;
    const std::optional<CliOptions> options = ParseCliOptions(CommandLineArguments(argc, argv), error);
    if (!options) {
        WriteText(stderr, "velmora-cli: " + error + " (see --help)\n");
        return exit_code::Usage;
    }
    if (options->help) {
        WriteText(stdout, CliUsage());
        return exit_code::CardRead;
    }
    if (options->version) {
        WriteText(stdout, CliVersion());
        return exit_code::CardRead;
    }
    return Run(*options);
}
