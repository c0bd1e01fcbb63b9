#include "UiccFileFields.h"

#include <algorithm>
#include <cctype>

namespace simcard::uicc_fields {

using nlohmann::json;

std::string Where(const std::vector<std::string>& path)
{
    std::string text;
    for (const std::string& part : path)
        text += (text.empty() ? "" : "/") + part;
    return text;
}

ProfileError Problem(const std::vector<std::string>& path, const std::string& what)
{
    return ProfileError("uicc file " + Where(path) + ": " + what);
}

std::vector<std::string> SplitPath(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t slash = std::min(text.find('/', start), text.size());
        if (slash > start)
            parts.push_back(text.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

std::optional<uint16_t> HexId(const std::string& text)
{
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return static_cast<uint16_t>(std::stoul(text, nullptr, 16));
}

std::vector<uint8_t> HexField(const json& value, const std::vector<std::string>& path, const char* what)
{
    if (!value.is_string())
        throw Problem(path, std::string(what) + " must be a hex string");
    try {
        return HexToBytes(value.get<std::string>());
    } catch (const ProfileError& error) {
        throw Problem(path, std::string(what) + ": " + error.what());
    }
}

std::vector<std::vector<uint8_t>> HexList(const json& value, const std::vector<std::string>& path)
{
    if (!value.is_array())
        throw Problem(path, "records must be a list of hex strings");
    std::vector<std::vector<uint8_t>> records;
    for (const json& record : value)
        records.push_back(HexField(record, path, "a record"));
    return records;
}

void Complete(UiccFileProfile& file, const std::optional<FcpFacts>& facts, bool typeGiven)
{
    if (facts) {
        if (!typeGiven && facts->type)
            file.type = *facts->type;
        if (facts->type == UiccFileType::Directory && !facts->aid.empty() && !typeGiven)
            file.type = UiccFileType::Application;
        if (!file.fid && facts->fid)
            file.fid = facts->fid;
        if (file.aid.empty())
            file.aid = facts->aid;
        if (!file.sfi && facts->sfi)
            file.sfi = facts->sfi;
        file.deactivated = file.deactivated || facts->deactivated;
        if (file.recordLength == 0 && facts->recordLength)
            file.recordLength = static_cast<uint16_t>(std::min<size_t>(*facts->recordLength, MaxRecordLength));
        if (file.recordCount == 0 && facts->recordCount)
            file.recordCount = *facts->recordCount;
    }
    if (file.type == UiccFileType::LinearFixed || file.type == UiccFileType::Cyclic) {
        size_t longest = 0;
        for (const auto& record : file.records)
            longest = std::max(longest, record.size());
        if (file.recordLength == 0)
            file.recordLength = static_cast<uint16_t>(std::min(longest, MaxRecordLength));
        file.recordCount = static_cast<uint16_t>(std::min<size_t>(std::max<size_t>(file.recordCount, file.records.size()), MaxRecords));
        if (file.records.size() > file.recordCount)
            file.records.resize(file.recordCount);
    }
}

} // namespace simcard::uicc_fields
