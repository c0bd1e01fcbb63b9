// --full --export DIR: the files beside the dialog's three, one function per
// file (contacts.vcf, contacts.csv, sms.csv), each written safely as the dialog's
// exports are, and only from card files read whole.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/content/CardContent.h"
#include "ui/logic/MainView.h"

// contacts.vcf: a vCard per used EF_ADN record, in record order; on a UICC
// one per entry of its USIM phone books instead (global, then local): the
// GSM view's EF_ADN only copies the first set of the global one.
std::string ContactsVcf(const CardContent& content);

// contacts.csv: "phoneBook,record,name,number", then the used records of
// EF_ADN and EF_FDN in record order ("ADN" or "FDN" in the first column); on
// a UICC the USIM's entries and FDN records as UsimContactsCsv has them.
std::string ContactsCsv(const CardContent& content);

struct FullExportFile {
    const char* name;    // "contacts.vcf", "contacts.csv", "sms.csv"
    std::string bytes;
    std::string notWhole; // why a card file it comes from was not read whole; empty when all were
};

// The three files with what they hold (on a UICC from the USIM's phone books,
// EF_FDN and EF_SMS when the USIM was read). A card file counts as read whole when
// every record was received, or when the card does not have it; a phone book
// whose numbers continue in an extension file needs that file read whole too.
std::vector<FullExportFile> FullExportFiles(const CardContent& content);

// Writes into `dir` each file whose card files were read whole; a failure is
// shown through `view` as the dialog's exports show it. Any other file is
// left as it was, with a line on `notes` saying which and why (a declined PIN
// or an interrupted read must not replace a good export with a poorer one).
// Returns false when a write failed.
bool ExportFull(const std::filesystem::path& dir, const CardContent& content, IMainView& view,
                std::FILE* notes);
