#include "UiccWords.h"

#include "HexText.h"

namespace {

struct FileKindWords {
    PhoneBookFileKind kind;
    const char* name; // as JSON has it; the text view upper-cases it after "EF_"
};

const FileKindWords FileKinds[] = {
    {PhoneBookFileKind::Adn, "adn"},   {PhoneBookFileKind::Iap, "iap"},   {PhoneBookFileKind::Ext1, "ext1"},
    {PhoneBookFileKind::Sne, "sne"},   {PhoneBookFileKind::Anr, "anr"},   {PhoneBookFileKind::Pbc, "pbc"},
    {PhoneBookFileKind::Grp, "grp"},   {PhoneBookFileKind::Aas, "aas"},   {PhoneBookFileKind::Gas, "gas"},
    {PhoneBookFileKind::Uid, "uid"},   {PhoneBookFileKind::Email, "email"}, {PhoneBookFileKind::Ccp1, "ccp1"},
};

const char* KnownName(PhoneBookFileKind kind)
{
    for (const FileKindWords& words : FileKinds) {
        if (words.kind == kind)
            return words.name;
    }
    return nullptr;
}

std::string TagText(PhoneBookFileKind kind)
{
    return HexText({static_cast<uint8_t>(kind)});
}

} // namespace

const char* CardKindName(CardKind kind)
{
    switch (kind) {
    case CardKind::Gsm:
        return "gsm";
    case CardKind::UiccWithGsm:
        return "uicc-with-gsm";
    case CardKind::Uicc:
        return "uicc";
    }
    return "gsm";
}

std::string PhoneBookFileText(PhoneBookFileKind kind)
{
    const char* name = KnownName(kind);
    if (!name)
        return "the file of tag " + TagText(kind);
    std::string text = "EF_";
    for (const char* c = name; *c; ++c)
        text += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c);
    return text;
}

std::string PhoneBookFileName(PhoneBookFileKind kind)
{
    const char* name = KnownName(kind);
    return name ? std::string(name) : "tag-" + TagText(kind);
}

const char* EntryProblemName(EntryProblemKind kind)
{
    switch (kind) {
    case EntryProblemKind::MissingRecord:
        return "missing-record";
    case EntryProblemKind::UnusedRecord:
        return "unused-record";
    case EntryProblemKind::ExtensionChain:
        return "extension-chain";
    case EntryProblemKind::BackPointer:
        return "back-pointer";
    }
    return "missing-record";
}

const char* SetProblemName(SetProblemKind kind)
{
    switch (kind) {
    case SetProblemKind::NoAdn:
        return "no-adn";
    case SetProblemKind::FileNotRead:
        return "file-not-read";
    case SetProblemKind::NoIap:
        return "no-iap";
    }
    return "no-adn";
}
