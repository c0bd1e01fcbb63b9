#include "CliExport.h"

#include <algorithm>
#include <cctype>

#include "ui/logic/ExportWriter.h"

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool AllDigits(const std::string& text)
{
    return !text.empty() && text.size() < 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<ListRow> DisplayedRowsOf(int32_t mode, const MainDialogLogic& logic)
{
    switch (mode) {
    case ListModeAdn:
        return DisplayedRows(PhoneBookRows(logic.Adn()));
    case ListModeFdn:
        return DisplayedRows(PhoneBookRows(logic.Fdn()));
    default:
        return DisplayedRows(SmsRows(logic.Sms()));
    }
}

} // namespace

int SortColumnFor(int32_t mode, const std::string& column)
{
    const std::vector<std::u16string> titles = ListColumnTitles(mode);
    if (AllDigits(column)) {
        const int index = std::stoi(column);
        return index < static_cast<int>(titles.size()) ? index : -1;
    }
    for (size_t i = 0; i < titles.size(); ++i) {
        if (EqualIgnoringCase(std::string(titles[i].begin(), titles[i].end()), column))
            return static_cast<int>(i);
    }
    return -1;
}

bool AnyListHasColumn(const std::string& column)
{
    for (int32_t mode : {ListModeAdn, ListModeFdn, ListModeSms}) {
        if (SortColumnFor(mode, column) >= 0)
            return true;
    }
    return false;
}

std::vector<ListRow> SortedRows(int32_t mode, std::vector<ListRow> rows, const std::vector<SortRequest>& sorts,
                                ListSortState& sort)
{
    for (const SortRequest& request : sorts) {
        const int column = SortColumnFor(mode, request.column);
        if (column < 0)
            continue;
        sort.OnHeaderClick(column);
        SortRows(rows, mode, sort);
        if (sort.ascending == request.descending) {
            sort.OnHeaderClick(column);
            SortRows(rows, mode, sort);
        }
    }
    return rows;
}

std::string ExportFileBytes(int32_t mode, const MainDialogLogic& logic, const std::vector<SortRequest>& sorts)
{
    ListSortState sort;
    const std::vector<ListRow> rows = SortedRows(mode, DisplayedRowsOf(mode, logic), sorts, sort);
    const uint8_t alphaLength = mode == ListModeAdn ? logic.Adn().AlphaLength
                                : mode == ListModeFdn ? logic.Fdn().AlphaLength
                                                      : 0;
    return FormatExport(mode, RowTexts(rows), sort.ascending, alphaLength);
}

bool ExportAll(const std::filesystem::path& dir, const MainDialogLogic& logic, const std::vector<SortRequest>& sorts,
               IMainView& view)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error); // a failure shows as the open failing
    bool allWritten = true;
    for (int32_t mode : {ListModeAdn, ListModeFdn, ListModeSms}) {
        const ExportResult result = WriteExportFile(dir / DefaultExportName(mode), ExportFileBytes(mode, logic, sorts));
        if (const auto message = ExportResultMessage(result)) {
            view.ShowMessage(message->text, message->caption, message->type);
            allWritten = false;
        }
    }
    return allWritten;
}
