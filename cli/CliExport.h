// --sort and --export: the list window's rows, header clicks and Export,
// for the three lists at once.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "ui/logic/ListModel.h"
#include "ui/logic/MainDialogLogic.h"

// The column of `mode` a --sort names, or -1 when that list has no such
// column: a title in any case, or an index from 0.
int SortColumnFor(int32_t mode, const std::string& column);

// Whether a --sort column names a column of at least one list; one that
// names none is a mistake on the command line.
bool AnyListHasColumn(const std::string& column);

// The rows as the list window shows them after the header clicks that
// produce each requested sort in turn: one click, and a second one when the
// first left the other direction. `sort` ends as the window's sort state.
std::vector<ListRow> SortedRows(int32_t mode, std::vector<ListRow> displayedRows,
                                const std::vector<SortRequest>& sorts, ListSortState& sort);

// The bytes the list window's Export writes for one list after the sorts.
std::string ExportFileBytes(int32_t mode, const MainDialogLogic& logic, const std::vector<SortRequest>& sorts);

// Writes PhoneBook.txt, FDN.txt and SMS.txt into `dir`; a failure is shown
// through `view` as the window shows it. Returns false when any failed.
bool ExportAll(const std::filesystem::path& dir, const MainDialogLogic& logic, const std::vector<SortRequest>& sorts,
               IMainView& view);
