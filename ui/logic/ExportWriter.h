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
    OpenFailed,  // the target may not be written, or nothing could be
                 // created; nothing changed
    WriteFailed, // a write, the flush, the close or the final rename
                 // failed; nothing changed under the chosen name, except
                 // for a file rewritten in place whose disk failed after
                 // its room was taken
};

// Writes `bytes` under `path`, every write, the flush to disk and the close
// checked. A symbolic link is followed and the file it names is written.
// The file appears whole or not at all: it is written under a unique name
// beside the target, flushed, given the old file's owner, mode and access
// list, and then moved over the target. A target that exists but may not be
// written, or is a directory, fails to open and is left alone. A file with
// several names (hard links) keeps them: it is rewritten in place, with its
// room taken first. Devices and pipes are written in place.
ExportResult WriteExportFile(const std::filesystem::path& path, const std::string& bytes);

// The message box for a failed export; none for Written.
std::optional<MessageBoxText> ExportResultMessage(ExportResult result);
