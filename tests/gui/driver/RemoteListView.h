// Reads the rows of a list view in another process and clicks its headers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

using ListRow = std::vector<std::wstring>;

// Every row of `list`, each with `columns` cells. False when the other
// process could not be reached.
bool ReadListRows(HWND list, int columns, std::vector<ListRow>& rows);

// Number of columns of the list's header, or -1.
int CountListColumns(HWND list);

// Presses and releases the mouse button over header item `column`, as a user
// click does. Sent (not posted), so the sort it starts has ended on return.
bool ClickListHeader(HWND list, int column);
