#include "Csv.h"

#include <string_view>

namespace {

bool StartsLikeFormula(const std::string& cell)
{
    return !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos;
}

bool IsPlainPhoneNumber(const std::string& cell)
{
    const size_t digits = !cell.empty() && cell[0] == '+' ? 1 : 0;
    return cell.size() > digits && cell.find_first_not_of("0123456789*#,?", digits) == std::string::npos;
}

} // namespace

std::string CsvField(const std::string& utf8)
{
    const bool neutralise = StartsLikeFormula(utf8) && !IsPlainPhoneNumber(utf8);
    if (!neutralise && utf8.find_first_of(",\"\r\n") == std::string::npos)
        return utf8;
    std::string quoted = neutralise ? "\"'" : "\"";
    for (char c : utf8) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRow(const std::vector<std::string>& fields)
{
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += ',';
        row += CsvField(fields[i]);
    }
    return row + "\r\n";
}
