// --full --export DIR: the files beside the dialog's three, one function per
// file (contacts.vcf, contacts.csv, sms.csv), each written safely as the dialog's
// exports are.
#pragma once
#include <filesystem>
#include <string>

#include "sim/full/FullCardContent.h"
#include "ui/logic/MainView.h"

// contacts.vcf: a vCard per used EF_ADN record, in record order.
std::string ContactsVcf(const FullCardContent& content);

// contacts.csv: "phoneBook,record,name,number", then the used records of
// EF_ADN and EF_FDN in record order ("ADN" or "FDN" in the first column).
std::string ContactsCsv(const FullCardContent& content);

// Writes the files into `dir`; a failure is shown through `view` as the
// dialog's exports show it. Returns false when any failed.
bool ExportFull(const std::filesystem::path& dir, const FullCardContent& content, IMainView& view);
