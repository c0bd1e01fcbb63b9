// Checks for the --full fuzz targets: decoded text must be valid UTF-8.
#pragma once
#include <string>

#include "sim/text/UtfCodec.h"

// Well-formed UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
inline bool IsValidUtf8(const std::string& text)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = DecodeUtf8At(text, at).length;
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

// A dialling number as --full shows it: "+" first at most, then 0-9 * # , ? E.
inline bool IsDiallingNumber(const std::string& number)
{
    for (size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#' || c == ',' || c == '?' || c == 'E' ||
              (c == '+' && i == 0 && number.size() > 1)))
            return false;
    }
    return true;
}
