#include "UiccText.h"

#include "ContentWords.h"
#include "FullSmsText.h"
#include "FullText.h"
#include "HexText.h"
#include "UiccWords.h"

namespace {

// "ICCID (EF_ICCID) : 8944..." or why there is none.
std::string ValueLine(const char* title, FileState state, const std::string& value)
{
    const std::string why = StateText(state);
    return std::string(title) + " : " + (why.empty() ? (value.empty() ? "empty" : OneLine(value)) : why) + "\n";
}

// The USIM the read selected, or null.
const UiccApplication* ReadUsim(const UiccContent& uicc)
{
    return uicc.usimSelected ? uicc.FirstUsim() : nullptr;
}

std::string ApplicationsText(const UiccContent& uicc)
{
    const std::string why = StateText(uicc.dirState);
    std::string text = "Applications (EF_DIR) : " +
                       (why.empty() ? std::to_string(uicc.applications.size()) + " listed" : why) + "\n";
    const UiccApplication* read = ReadUsim(uicc);
    for (const UiccApplication& application : uicc.applications)
        text += "  " + std::to_string(application.record) + "\t" +
                (application.label.empty() ? "(no label)" : OneLine(application.label)) + "\t" +
                HexText(application.aid) + (&application == read ? "\t(the USIM read below)" : "") + "\n";
    return text;
}

std::string PinText(const char* name, const UiccPin& pin)
{
    std::string text = std::string(name) + " (key reference " + HexText({pin.keyReference}) +
                       (pin.keyReference == 0x11 ? ", the universal PIN" : "") + ") : ";
    std::string state;
    if (pin.enabled)
        state = *pin.enabled ? "enabled" : "disabled";
    if (pin.triesLeft)
        state += (state.empty() ? "" : ", ") +
                 (*pin.triesLeft == 0 ? std::string("blocked") : std::to_string(*pin.triesLeft) + " tries left");
    if (pin.unblockTriesLeft)
        state += (state.empty() ? "" : ", ") + std::string("its unblocking key ") +
                 (*pin.unblockTriesLeft == 0 ? std::string("blocked")
                                             : std::to_string(*pin.unblockTriesLeft) + " tries left");
    if (pin.verified)
        state += (state.empty() ? "" : ", ") + std::string("verified");
    return text + (state.empty() ? "not reported by the card" : state) + "\n";
}

std::string ServiceLine(const char* title, const std::optional<bool>& service, const char* on, const char* off)
{
    return std::string(title) + " : " + (!service ? "not read" : *service ? on : off) + "\n";
}

std::string UsimText(const UiccContent& uicc)
{
    const UiccApplication* usim = ReadUsim(uicc);
    if (!usim) {
        const bool listed = uicc.FirstUsim() != nullptr;
        return std::string("USIM : ") + (listed ? "not read (the card did not select it)" : "none listed") + "\n";
    }
    std::string text = "USIM : " + (usim->label.empty() ? std::string("(no label)") : OneLine(usim->label)) + ", " +
                       HexText(usim->aid) + "\n";
    text += ValueLine("IMSI (EF_IMSI)", uicc.imsiState, uicc.imsi);
    text += PinText("PIN1", uicc.pin1) + PinText("PIN2", uicc.pin2);
    text += ServiceLine("Fixed dialling (EF_EST service 1)", uicc.fdnEnabled, "on", "off");
    text += ServiceLine("Local phone book (EF_UST service 1)", uicc.localPhoneBookService, "offered", "not offered");
    AppendBookText(text, "Own numbers (EF_MSISDN)", uicc.msisdn);
    AppendBookText(text, "Fixed dialling numbers (EF_FDN)", uicc.fdn);
    AppendBookText(text, "Service dialling numbers (EF_SDN)", uicc.sdn);
    text += ServiceProviderText(uicc.spnState, uicc.spn);
    AppendSmsText(text, uicc.sms);
    return text;
}

std::string FileNamed(PhoneBookFileKind kind, uint16_t fileId)
{
    return PhoneBookFileText(kind) + (fileId != 0 ? " (" + FileIdText(fileId) + ")" : "");
}

std::string ProblemText(const EntryProblem& problem)
{
    const std::string file = FileNamed(problem.file, problem.fileId);
    const std::string record = "record " + std::to_string(problem.record);
    switch (problem.kind) {
    case EntryProblemKind::MissingRecord:
        return "points to " + record + " of " + file + ", which the card did not give";
    case EntryProblemKind::UnusedRecord:
        return "points to " + record + " of " + file + ", which holds nothing";
    case EntryProblemKind::ExtensionChain: {
        const std::string words = ExtensionWords(problem.extension, problem.record);
        return "a number continues in " + file + ": " + (words.empty() ? "its chain did not end well" : words);
    }
    case EntryProblemKind::BackPointer:
        return record + " of " + file + " says it belongs to another entry; not taken";
    }
    return {};
}

std::string SetProblemText(const SetProblem& problem)
{
    const std::string set = "  set " + std::to_string(problem.set) + ": ";
    switch (problem.kind) {
    case SetProblemKind::NoAdn:
        return set + "names no EF_ADN, so it holds no entry\n";
    case SetProblemKind::FileNotRead:
        return set + FileNamed(problem.file, problem.fileId) + " was not read\n";
    case SetProblemKind::NoIap:
        return set + FileNamed(problem.file, problem.fileId) + " is reached through an EF_IAP the set does not name\n";
    }
    return {};
}

std::string Detail(const std::string& what, const std::string& value)
{
    return "    " + what + "\t" + value + "\n";
}

std::string EntryText(const UsimPhoneBookEntry& entry)
{
    std::string text =
        "  " + std::to_string(entry.entry) + "\t" + OneLine(entry.name) + "\t" + OneLine(entry.number) + "\n";
    for (const AdditionalNumber& number : entry.additionalNumbers) {
        if (!number.number.empty())
            text += Detail(number.label.empty() ? "number" : OneLine(number.label), OneLine(number.number));
    }
    for (const std::string& email : entry.emails)
        text += Detail("e-mail", OneLine(email));
    if (!entry.secondName.empty())
        text += Detail("second name", OneLine(entry.secondName));
    if (!entry.groups.empty()) {
        std::string groups;
        for (const std::string& group : entry.groups)
            groups += (groups.empty() ? "" : ", ") + OneLine(group);
        text += Detail("groups", groups);
    }
    if (entry.hidden)
        text += "    hidden (a phone shows it only after its hidden-key code)\n";
    for (const EntryProblem& problem : entry.problems)
        text += "    (" + ProblemText(problem) + ")\n";
    return text;
}

std::string Heading(const UsimPhoneBookContent& book)
{
    if (std::string why = StateText(book.state); !why.empty())
        return why;
    const size_t count = book.book.entries.size();
    std::string text = std::to_string(count) + (count == 1 ? " entry" : " entries");
    text += book.fromPbr ? " in " + std::to_string(book.setCount) + (book.setCount == 1 ? " set" : " sets")
                         : " (no EF_PBR: read as a plain EF_ADN)";
    if (book.state == FileState::Incomplete)
        text += " (the card stopped answering part of the way)";
    return text;
}

} // namespace

std::string CardKindText(CardKind kind)
{
    switch (kind) {
    case CardKind::Gsm:
        return "Card : GSM SIM\n";
    case CardKind::UiccWithGsm:
        return "Card : UICC with a GSM view (it answers GSM commands too)\n";
    case CardKind::Uicc:
        return "Card : UICC (it refuses GSM commands)\n";
    }
    return {};
}

std::string UsimPhoneBookText(const char* title, const UsimPhoneBookContent& book)
{
    std::string text = std::string(title) + " : " + Heading(book) + "\n";
    for (const SetProblem& problem : book.book.problems)
        text += SetProblemText(problem);
    for (const UsimPhoneBookEntry& entry : book.book.entries)
        text += EntryText(entry);
    return text;
}

std::string UiccText(const UiccContent& uicc)
{
    std::string text = ApplicationsText(uicc);
    text += ValueLine("ICCID (EF_ICCID)", uicc.iccidState, uicc.iccid);
    text += UsimText(uicc);
    text += UsimPhoneBookText("Global phone book (DF_TELECOM/DF_PHONEBOOK)", uicc.globalPhoneBook);
    if (uicc.HasLocalPhoneBook())
        text += UsimPhoneBookText("Local phone book (USIM/DF_PHONEBOOK)", uicc.localPhoneBook);
    return text;
}
