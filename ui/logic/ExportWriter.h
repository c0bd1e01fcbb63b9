// The list window's Export: the file's bytes and writing them safely.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ListModel.h"
#include "MessageBoxText.h"

// "PhoneBook.txt", "FDN.txt" or "SMS.txt".
std::u16string DefaultExportName(int32_t mode);

// The file for the rows as the window displays them (their column texts).
// Phone-book lists: the name padded with spaces or cut to alphaLength, ",\t",
// the number; rows from the top while the sort is ascending (also when never
// sorted), from the bottom when descending. SMS: the sender padded to at
// least 30 characters, ",\t", the date, ",\t", the text in double quotes;
// always from the top. Lines end with CR LF, one byte per character.
std::string FormatExport(int32_t mode, const std::vector<std::vector<std::u16string>>& rowTexts,
                         bool sortAscending, uint8_t alphaLength);

// The column texts of rows, for FormatExport.
std::vector<std::vector<std::u16string>> RowTexts(const std::vector<ListRow>& rows);

enum class ExportResult {
    Written,     // the whole file is under the chosen name
    OpenFailed,  // nothing could be created; nothing changed
    WriteFailed, // a write, the close or the final rename failed; nothing
                 // changed under the chosen name
};

// Writes `bytes` to a temporary file beside `path`, checks every write and
// the close, and only then moves it over `path`. A target that exists and is
// not a regular file (a device, a pipe) is written in place.
ExportResult WriteExportFile(const std::filesystem::path& path, const std::string& bytes);

// The message box for a failed export; none for Written.
std::optional<MessageBoxText> ExportResultMessage(ExportResult result);
