// vCard 3.0 (RFC 2426): UTF-8 without a byte-order mark, CR LF line ends,
// lines folded at 75 octets.
#pragma once
#include <string>

#include "sim/content/CardContent.h"
#include "sim/uicc/UsimPhoneBookEntry.h"

// A text value with backslash, comma, semicolon and line ends escaped; other
// control characters become spaces.
std::string VCardText(const std::string& utf8);

// `line` (without its line end) folded so that no line, the leading space of
// a continuation included, exceeds 75 octets and no UTF-8 sequence is split;
// ends with CR LF.
std::string FoldVCardLine(const std::string& line);

// One vCard per used record of `book`: FN (the name, or the number when the
// record has no name), N (the whole name as the given name: a SIM name is
// not split into parts), and TEL when the record has a number (a phone-number
// value, written unescaped).
std::string PhoneBookVCards(const PhoneBook& book);

// One vCard per entry of a USIM phone book: FN (the name, or else the first
// number or e-mail address there is), N as above, NICKNAME (the second name),
// TEL for the number and one per additional number (with its label as the
// TYPE: as it is when it is a plain word, else quoted, a double quote in it
// shown as an apostrophe), EMAIL;TYPE=INTERNET per address, CATEGORIES (the
// groups) and CLASS:PRIVATE for an entry the phone keeps hidden.
std::string UsimPhoneBookVCards(const UsimPhoneBook& book);
