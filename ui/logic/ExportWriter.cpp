#include "ExportWriter.h"

#include "MainView.h"
#include "sim/text/UtfCodec.h"

namespace {

constexpr size_t SenderWidth = 30;

const std::u16string& Column(const std::vector<std::u16string>& row, size_t column)
{
    static const std::u16string none;
    return column < row.size() ? row[column] : none;
}

std::u16string PadTo(std::u16string text, size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), u' ');
    return text;
}

// Appends text as the file stores it: one byte per character and CR LF for
// every line feed. Characters above U+00FF have no byte and are written as '?'.
void AppendBytes(std::string& out, const std::u16string& text)
{
    for (size_t at = 0; at < text.size();) {
        // A surrogate pair is one character, and so is an unpaired surrogate.
        const auto [c, length] = DecodeUtf16At(text, at);
        at += length > 0 ? length : 1;
        if (c == u'\n')
            out += "\r\n";
        else if (c <= 0xFF)
            out += static_cast<char>(c);
        else
            out += '?';
    }
}

void AppendPhoneBookLine(std::string& out, const std::vector<std::u16string>& row, uint8_t alphaLength)
{
    std::u16string name = PadTo(Column(row, 0), alphaLength);
    name.resize(alphaLength);
    AppendBytes(out, name + u",\t" + Column(row, 1) + u"\n");
}

void AppendSmsLine(std::string& out, const std::vector<std::u16string>& row)
{
    AppendBytes(out, PadTo(Column(row, 0), SenderWidth) + u",\t" + Column(row, 1) + u",\t\"" + Column(row, 2) +
                         u"\"\n");
}

} // namespace

std::u16string DefaultExportName(int32_t mode)
{
    switch (mode) {
    case ListModeAdn:
        return u"PhoneBook.txt";
    case ListModeFdn:
        return u"FDN.txt";
    default:
        return u"SMS.txt";
    }
}

std::string FormatExport(int32_t mode, const std::vector<std::vector<std::u16string>>& rowTexts,
                         bool sortAscending, uint8_t alphaLength)
{
    std::string out;
    if (mode == ListModeSms) {
        for (const auto& row : rowTexts)
            AppendSmsLine(out, row);
    } else if (sortAscending) {
        for (const auto& row : rowTexts)
            AppendPhoneBookLine(out, row, alphaLength);
    } else {
        for (auto row = rowTexts.rbegin(); row != rowTexts.rend(); ++row)
            AppendPhoneBookLine(out, *row, alphaLength);
    }
    return out;
}

std::vector<std::vector<std::u16string>> RowTexts(const std::vector<ListRow>& rows)
{
    std::vector<std::vector<std::u16string>> texts;
    texts.reserve(rows.size());
    for (const ListRow& row : rows)
        texts.push_back(row.texts);
    return texts;
}

std::optional<MessageBoxText> ExportResultMessage(ExportResult result)
{
    switch (result) {
    case ExportResult::OpenFailed:
        return MessageBoxText{u"Failed to open the selected file for writing", u"I/O Error", mb::Ok | mb::IconStop};
    case ExportResult::WriteFailed:
        return MessageBoxText{u"The file could not be written completely.\nNothing was saved under the selected name.",
                           u"I/O Error", mb::Ok | mb::IconStop};
    default:
        return std::nullopt;
    }
}
