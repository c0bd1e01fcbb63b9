// The text view of --full: what the full read found, in UTF-8, after the
// dialog's fields. One function per section.
#pragma once
#include <optional>
#include <string>

#include "sim/content/CardContent.h"

// Card text on one line: a line end shows as a space, control characters as
// U+FFFD (see TerminalText).
std::string OneLine(const std::string& text);

// What stopped an extension chain, in words; empty when nothing did.
std::string ExtensionWords(ExtensionState state, unsigned stoppedAt);

// Appends one phone book: "TITLE : N of M records used" (or why there is
// nothing), then a line per used record as PhoneBooksText describes.
void AppendBookText(std::string& out, const char* title, const PhoneBook& book);

// Every phone book: a heading "TITLE : N of M records used" (or why there is
// nothing), then one line per used record: two spaces, the record number, a
// tab, the name, a tab, the number, and a note on an extension chain that
// could not be followed. Control characters of names show as spaces. On a
// UICC only the GSM view's files the read filled in.
std::string PhoneBooksText(const CardContent& content);
void AppendPhoneBooksText(std::string& out, const CardContent& content);

// "Service provider name (EF_SPN) : NAME (display condition ...)".
std::string ServiceProviderText(const CardContent& content);
std::string ServiceProviderText(FileState state, const std::optional<ServiceProviderName>& spn);

// The whole view: a blank line, then every section; on a UICC the card's
// kind first and the USIM's sections last.
std::string FullText(const CardContent& content);
// The same, appended to `out`: the view is built in one string, as large as
// what it shows, rather than from a string per section and line.
void AppendFullText(std::string& out, const CardContent& content);
