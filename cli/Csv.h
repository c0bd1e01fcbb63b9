// CSV as RFC 4180 has it: fields separated by commas, CR LF after every row,
// a field holding a comma, a double quote or a line end quoted with its
// quotes doubled. UTF-8, no byte-order mark.
#pragma once
#include <string>
#include <vector>

std::string CsvField(const std::string& utf8);

// The fields of one row, with the row's CR LF.
std::string CsvRow(const std::vector<std::string>& fields);
