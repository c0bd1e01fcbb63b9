// The list window's contents without its window: caption, columns, rows with
// their item data, the header-click sort state and the row comparison.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/DiallingNumbers.h"
#include "sim/SmsRecords.h"

// The three lists the window shows.
enum ListMode : int32_t {
    ListModeAdn = 0, // phone book
    ListModeFdn = 1, // fixed dialling numbers
    ListModeSms = 2, // SMS messages
};

// One row: the texts of its columns and its item data. For the phone-book
// lists the item data is the row's insertion index; for SMS it is the
// message's calendar time (mktime of its time stamp, local time) cut to its
// low 32 bits, which is what the date column sorts by.
struct ListRow {
    std::vector<std::u16string> texts;
    uint32_t itemData = 0;

    bool operator==(const ListRow&) const = default;
};

// "Phonebook (Abbreviated Dial Numbers)", "Fixed Dialing Numbers (FDN)",
// "SMS Messages".
std::u16string ListCaption(int32_t mode);

// "Name", "Number" for the phone-book lists; "From", "Date", "Message" for SMS.
std::vector<std::u16string> ListColumnTitles(int32_t mode);

// The rows in the order the window inserts them: the entries in the file's
// order (by name), the messages in record order. A cell holds its text up to
// a first U+0000, as a list control stores it.
std::vector<ListRow> PhoneBookRows(const DiallingNumberFile& file);
std::vector<ListRow> SmsRows(const SmsFile& smsFile);

// The order of a list control that keeps its rows sorted ascending by their
// first column as they are inserted, as the Windows list view orders them:
// first by letters with case and accents not counting (Latin-1 letters taken
// as their base letters, "\u00DF" as "ss", hyphens and apostrophes skipped),
// then case-insensitively by code unit (ASCII and Latin-1 letters folded to
// lower case). A row goes after every row that compares equal, so equal
// texts keep insertion order.
int CompareInsertionText(const std::u16string& first, const std::u16string& second);
std::vector<ListRow> DisplayedRows(std::vector<ListRow> insertedRows);

// The direction and column of the last header click. The first click sorts
// descending, the next ascending, and so on, whichever column is clicked.
struct ListSortState {
    bool ascending = true;
    int32_t column = 0;

    void OnHeaderClick(int32_t clickedColumn);
};

// Negative, zero or positive. The SMS date column compares the item data as
// unsigned 32-bit time stamps; every other column compares the rows' texts
// in the sort column code unit by code unit. Descending swaps the two rows.
int CompareRows(const ListRow& first, const ListRow& second, int32_t mode, const ListSortState& sort);

// Sorts rows as a header click does (stable: rows that compare equal keep
// their order).
void SortRows(std::vector<ListRow>& rows, int32_t mode, const ListSortState& sort);
