// The text view of --full: what the full read found, in UTF-8, after the
// dialog's fields. One function per section.
#pragma once
#include <string>

#include "sim/content/CardContent.h"

// Why a file shows nothing: "not read", "not on the card", "not readable
// (...)"; empty for a file that was read, whole or in part.
std::string FileStateText(FileState state);

// Every phone book: a heading "TITLE : N of M records used" (or why there is
// nothing), then one line per used record: two spaces, the record number, a
// tab, the name, a tab, the number, and a note on an extension chain that
// could not be followed. Control characters of names show as spaces.
std::string PhoneBooksText(const CardContent& content);

// "Service provider name (EF_SPN) : NAME (display condition ...)".
std::string ServiceProviderText(const CardContent& content);

// The whole view: a blank line, then every section.
std::string FullText(const CardContent& content);
