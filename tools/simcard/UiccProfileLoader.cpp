#include "UiccProfileLoader.h"

#include "UiccFileFields.h"

namespace simcard {
namespace {

using nlohmann::json;
using namespace uicc_fields;

unsigned Unsigned(const json& object, const char* key, unsigned fallback, unsigned maximum,
                  const std::vector<std::string>& path)
{
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    if (!value.is_number_unsigned() || value.get<unsigned long long>() > maximum)
        throw Problem(path, std::string("\"") + key + "\" must be a number from 0 to " + std::to_string(maximum));
    return static_cast<unsigned>(value.get<unsigned long long>());
}

UiccFileType TypeNamed(const std::string& name, const std::vector<std::string>& path)
{
    static const std::pair<const char*, UiccFileType> types[] = {
        {"DF", UiccFileType::Directory},          {"ADF", UiccFileType::Application},
        {"transparent", UiccFileType::Transparent}, {"linear", UiccFileType::LinearFixed},
        {"cyclic", UiccFileType::Cyclic},          {"BER-TLV", UiccFileType::BerTlv},
    };
    for (const auto& [text, type] : types) {
        if (name == text)
            return type;
    }
    throw Problem(path, "unknown type \"" + name + "\"");
}

UiccAccess AccessNamed(const json& value, const std::vector<std::string>& path)
{
    static const std::pair<const char*, UiccAccess> conditions[] = {
        {"ALW", UiccAccess::Always}, {"PIN1", UiccAccess::Pin1}, {"PIN2", UiccAccess::Pin2},
        {"ADM", UiccAccess::Never},  {"NEV", UiccAccess::Never},
    };
    for (const auto& [text, access] : conditions) {
        if (value.is_string() && value.get<std::string>() == text)
            return access;
    }
    throw Problem(path, "\"read\" must be ALW, PIN1, PIN2, ADM or NEV");
}

UiccFileProfile ReadFile(const json& entry)
{
    if (!entry.is_object() || !entry.contains("path") || !entry.at("path").is_string())
        throw ProfileError("uicc file: each file is an object with a \"path\" string");
    UiccFileProfile file;
    file.path = SplitPath(entry.at("path").get<std::string>());
    if (file.path.empty() || file.path[0] != "3F00")
        throw Problem(file.path, "a path starts at the MF, 3F00");
    const std::vector<std::string>& path = file.path;
    file.fid = entry.contains("fid") ? HexId(entry.at("fid").is_string() ? entry.at("fid").get<std::string>() : "")
                                     : HexId(path.back());
    if (entry.contains("fid") && !file.fid)
        throw Problem(path, "\"fid\" must be four hex digits");
    if (entry.contains("aid"))
        file.aid = HexField(entry.at("aid"), path, "\"aid\"");
    if (file.aid.size() > 16)
        throw Problem(path, "an AID has at most 16 bytes");
    if (entry.contains("sfi")) {
        const unsigned sfi = Unsigned(entry, "sfi", 0, 30, path);
        if (sfi == 0)
            throw Problem(path, "\"sfi\" must be from 1 to 30");
        file.sfi = static_cast<uint8_t>(sfi);
    }
    if (entry.contains("fcp"))
        file.fcp = HexField(entry.at("fcp"), path, "\"fcp\"");
    if (entry.contains("data"))
        file.data = HexField(entry.at("data"), path, "\"data\"");
    if (entry.contains("records"))
        file.records = HexList(entry.at("records"), path);
    file.recordLength = static_cast<uint16_t>(Unsigned(entry, "recordLength", 0, MaxRecordLength, path));
    file.recordCount = static_cast<uint16_t>(Unsigned(entry, "recordCount", 0, MaxRecords, path));
    if (file.records.size() > MaxRecords || (file.recordCount && file.records.size() > file.recordCount))
        throw Problem(path, "more records than recordCount");
    if (entry.contains("deactivated"))
        file.deactivated = entry.at("deactivated").is_boolean() && entry.at("deactivated").get<bool>();
    if (entry.contains("read"))
        file.read = AccessNamed(entry.at("read"), path);

    const bool typeGiven = entry.contains("type");
    if (typeGiven)
        file.type = TypeNamed(entry.at("type").is_string() ? entry.at("type").get<std::string>() : "", path);
    else if (!file.aid.empty())
        file.type = UiccFileType::Application;
    else if (entry.contains("records") || entry.contains("recordLength"))
        file.type = UiccFileType::LinearFixed;
    else if (entry.contains("data"))
        file.type = UiccFileType::Transparent;
    else
        file.type = UiccFileType::Directory;
    const std::optional<FcpFacts> facts = file.fcp.empty() ? std::nullopt : ParseFcp(file.fcp);
    if (!file.fcp.empty() && !facts)
        throw Problem(path, "\"fcp\" is not an FCP template (62)");
    Complete(file, facts, typeGiven || file.fcp.empty());
    return file;
}

} // namespace

UiccProfile ReadUiccSection(const json& section)
{
    if (!section.is_object())
        throw ProfileError("\"uicc\" must be an object");
    UiccProfile profile;
    if (section.contains("gsm")) {
        if (!section.at("gsm").is_boolean())
            throw ProfileError("\"uicc\": \"gsm\" must be true or false");
        profile.answersGsm = section.at("gsm").get<bool>();
    }
    profile.puk1AttemptsLeft = static_cast<uint8_t>(Unsigned(section, "puk1Attempts", 10, 15, {"uicc"}));
    profile.puk2AttemptsLeft = static_cast<uint8_t>(Unsigned(section, "puk2Attempts", 10, 15, {"uicc"}));
    if (section.contains("files")) {
        if (!section.at("files").is_array())
            throw ProfileError("\"uicc\": \"files\" must be a list");
        for (const json& entry : section.at("files"))
            profile.files.push_back(ReadFile(entry));
    }
    return profile;
}

} // namespace simcard
