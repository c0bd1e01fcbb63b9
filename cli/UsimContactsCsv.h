// contacts.csv of a UICC: the entries of its USIM phone books and its fixed
// dialling numbers, one row each.
#pragma once
#include <string>

#include "sim/content/PhoneBook.h"
#include "sim/content/UiccContent.h"

// "phoneBook,record,name,number,entry,set,secondName,hidden", then for
// N = 1.. as many as the fullest entry needs (at least 1):
// "additionalNumberN,additionalNumberLabelN", "emailN", "groupN". Rows:
// the global phone book ("global"), the local one ("local", when there is
// one), then the records of `fdn` ("FDN", with only the first four columns).
// "hidden" is "yes" or "no".
std::string UsimContactsCsv(const UiccContent& uicc, const PhoneBook& fdn);
