// CSV as RFC 4180 has it: fields separated by commas, CR LF after every row,
// a field holding a comma, a double quote or a line end quoted with its
// quotes doubled. UTF-8, no byte-order mark.
//
// Card data in these files is chosen by strangers (an SMS sender, a message
// text), and a spreadsheet runs a cell that starts with = + - @, tab or CR
// as a formula. Such a cell is written quoted with a leading apostrophe,
// which spreadsheets take as "this is text" -- except a plain phone number:
// an optional + followed by one or more of 0-9 * # , ? and nothing else,
// which cannot form a formula of any harm and stays as it is.
#pragma once
#include <string>
#include <vector>

std::string CsvField(const std::string& utf8);

// The fields of one row, with the row's CR LF.
std::string CsvRow(const std::vector<std::string>& fields);
