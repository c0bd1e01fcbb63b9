// Field readers shared by the loaders of UICC files (a profile's "uicc"
// section and card dumps). Internal to velmora_simcard_profile.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Fcp.h"
#include "ProfileLoader.h"
#include "UiccProfile.h"

namespace simcard::uicc_fields {

constexpr size_t MaxRecords = 255;    // what a one-byte record number reaches
constexpr size_t MaxRecordLength = 255;

// "3F00/7F10" for a path.
std::string Where(const std::vector<std::string>& path);
ProfileError Problem(const std::vector<std::string>& path, const std::string& what);
// "3F00/7F10/" to its parts; empty parts are dropped.
std::vector<std::string> SplitPath(const std::string& text);
// Four hex digits to a file id.
std::optional<uint16_t> HexId(const std::string& text);
std::vector<uint8_t> HexField(const nlohmann::json& value, const std::vector<std::string>& path, const char* what);
std::vector<std::vector<uint8_t>> HexList(const nlohmann::json& value, const std::vector<std::string>& path);
// Fills what the FCP says and the file does not yet (the type only unless
// `typeGiven`); bounds the record geometry to what READ RECORD addresses.
void Complete(UiccFileProfile& file, const std::optional<FcpFacts>& facts, bool typeGiven);

} // namespace simcard::uicc_fields
