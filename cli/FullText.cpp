#include "FullText.h"

#include <cstdio>
#include <utility>

#include "ContentWords.h"
#include "FullSmsText.h"
#include "TerminalText.h"
#include "UiccText.h"

namespace {

const std::pair<PhoneBook CardContent::*, const char*> Books[] = {
    {&CardContent::adn, "Phone book (EF_ADN)"},
    {&CardContent::fdn, "Fixed dialling numbers (EF_FDN)"},
    {&CardContent::msisdn, "Own numbers (EF_MSISDN)"},
    {&CardContent::sdn, "Service dialling numbers (EF_SDN)"},
    {&CardContent::lnd, "Last numbers dialled (EF_LND)"},
};

std::string RecordList(const PhoneBook& book)
{
    const size_t read = book.state == FileState::Incomplete || book.state == FileState::Read ? book.records.size() : 0;
    std::string text = std::to_string(read) + " of " + std::to_string(book.recordCount) + " records used";
    if (book.state == FileState::Incomplete)
        text += " (the card stopped answering part of the way)";
    return text;
}

std::string ExtensionNote(const ExtensionResult& extension)
{
    const std::string words = ExtensionWords(extension.state, extension.stoppedAt);
    return words.empty() ? words : "\t(" + words + ")";
}

// The sections of the GSM view: all of them for a GSM SIM; on a UICC only
// those the read filled in, beside the USIM's own.
bool Shown(const CardContent& content, FileState state)
{
    return !content.uicc || state != FileState::NotRead;
}

// Room for the whole view, guessed on the generous side: memory reserved but
// never written costs nothing, while a string grown by doubling holds two
// copies at each step, and first-touched memory is what the view costs most.
size_t ViewSizeGuess(const CardContent& content)
{
    size_t size = 4096;
    for (const auto& [book, title] : Books)
        size += (content.*book).records.size() * 128;
    for (const JoinedSms& joined : content.sms.messages)
        size += 512 + 2 * joined.text.size();
    return size;
}

} // namespace

std::string OneLine(const std::string& text)
{
    return TerminalText(text, false);
}

std::string ExtensionWords(ExtensionState state, unsigned stoppedAt)
{
    const std::string at = std::to_string(stoppedAt);
    switch (state) {
    case ExtensionState::None:
    case ExtensionState::Complete:
        return {};
    case ExtensionState::Missing:
        return "continues in extension record " + at + ", which the card does not hold";
    case ExtensionState::Loop:
        return "extension records loop back to record " + at + "; number cut there";
    case ExtensionState::TooLong:
        return "more than " + std::to_string(MaxExtensionChain) + " extension records; number cut there";
    case ExtensionState::Invalid:
        return "extension record " + at + " holds no number digits; number cut there";
    }
    return {};
}

void AppendBookText(std::string& out, const char* title, const PhoneBook& book)
{
    const std::string state = StateText(book.state);
    out += title;
    out += " : " + (state.empty() ? RecordList(book) : state) + "\n";
    for (const PhoneBookRecord& record : book.records) {
        out += "  " + std::to_string(record.record) + "\t";
        out += OneLine(record.name);
        out += '\t';
        out += OneLine(record.number);
        out += ExtensionNote(record.extension);
        out += '\n';
    }
}

void AppendPhoneBooksText(std::string& out, const CardContent& content)
{
    for (const auto& [book, title] : Books) {
        if (Shown(content, (content.*book).state))
            AppendBookText(out, title, content.*book);
    }
}

std::string PhoneBooksText(const CardContent& content)
{
    std::string text;
    AppendPhoneBooksText(text, content);
    return text;
}

std::string ServiceProviderText(const CardContent& content)
{
    return ServiceProviderText(content.spnState, content.spn);
}

std::string ServiceProviderText(FileState state, const std::optional<ServiceProviderName>& read)
{
    const char* title = "Service provider name (EF_SPN) : ";
    if (!read) {
        const std::string words = StateText(state);
        return title + (words.empty() ? std::string("empty") : words) + "\n";
    }
    const ServiceProviderName& spn = *read;
    char condition[8];
    std::snprintf(condition, sizeof condition, "%02X", spn.displayCondition);
    return title + OneLine(spn.name.text) + " (display condition " + condition + ": network name " +
           (spn.NetworkNameAtHome() ? "shown" : "not required") + " at home, provider name " +
           (spn.ProviderNameWhenRoaming() ? "shown" : "not required") + " when roaming)\n";
}

void AppendFullText(std::string& out, const CardContent& content)
{
    out.reserve(out.size() + ViewSizeGuess(content));
    out += '\n';
    if (content.uicc)
        out += CardKindText(content.kind);
    AppendPhoneBooksText(out, content);
    if (Shown(content, content.spnState))
        out += ServiceProviderText(content);
    if (Shown(content, content.sms.state))
        AppendSmsText(out, content.sms);
    if (content.uicc)
        out += UiccText(*content.uicc);
}

std::string FullText(const CardContent& content)
{
    std::string text;
    AppendFullText(text, content);
    return text;
}
