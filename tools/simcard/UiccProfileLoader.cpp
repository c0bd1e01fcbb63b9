#include "UiccProfileLoader.h"

#include <algorithm>
#include <map>

#include "Fcp.h"
#include "ProfileLoader.h"

namespace simcard {
namespace {

using nlohmann::json;

constexpr size_t MaxRecords = 255;    // what a one-byte record number reaches
constexpr size_t MaxRecordLength = 255;

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

// Fills what the FCP says and the file does not yet; checks the record
// geometry against what a READ RECORD can address.
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

// --- dumps ---

// Directories a dump may name without dumping them.
std::optional<uint16_t> KnownDirectory(const std::string& name)
{
    static const std::pair<const char*, uint16_t> known[] = {
        {"MF", 0x3F00},          {"DF.TELECOM", 0x7F10}, {"DF.GSM", 0x7F20},      {"DF.PHONEBOOK", 0x5F3A},
        {"DF.GRAPHICS", 0x5F50}, {"DF.MULTIMEDIA", 0x5F3B}, {"DF.5GS", 0x5FC0}, {"DF.GSM-ACCESS", 0x5F3B},
        {"DF.MMSS", 0x5F3C},     {"DF.WLAN", 0x5F40},    {"DF.HNB", 0x5F50},
    };
    for (const auto& [text, id] : known) {
        if (name == text)
            return id;
    }
    return HexId(name);
}

std::vector<uint8_t> KnownAid(const std::string& name)
{
    if (name == "ADF.USIM")
        return {0xA0, 0x00, 0x00, 0x00, 0x87, 0x10, 0x02};
    if (name == "ADF.ISIM")
        return {0xA0, 0x00, 0x00, 0x00, 0x87, 0x10, 0x04};
    return {};
}

bool IsApplicationName(const std::string& name) { return name.rfind("ADF.", 0) == 0; }

std::vector<std::string> DumpPath(const json& entry, const std::string& key)
{
    const json* path = entry.contains("path") ? &entry.at("path") : nullptr;
    std::vector<std::string> names;
    if (path != nullptr && path->is_array()) {
        for (const json& name : *path) {
            if (!name.is_string())
                return {};
            names.push_back(name.get<std::string>());
        }
    } else {
        names = SplitPath(path != nullptr && path->is_string() ? path->get<std::string>() : key);
    }
    if (!names.empty() && (names[0] == "3F00" || names[0] == "3f00"))
        names[0] = "MF";
    return names;
}

// Converts the dump's names into the profile's path of ids and application
// names, making the directories it names but did not dump.
class DumpTree {
public:
    // The profile path of the file at `names`; the files along it are added
    // when missing. Empty when a directory along it cannot be placed.
    std::vector<std::string> Place(const std::vector<std::string>& names, size_t count)
    {
        std::vector<std::string> path;
        for (size_t i = 0; i < count; ++i) {
            const std::string key = Where(std::vector<std::string>(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i + 1)));
            if (const auto known = m_placed.find(key); known != m_placed.end()) {
                path = known->second;
                continue;
            }
            const std::optional<uint16_t> id = KnownDirectory(names[i]);
            if (i == 0 ? names[0] != "MF" : !id && !IsApplicationName(names[i]))
                return {};
            path.push_back(i == 0 ? "3F00" : IsApplicationName(names[i]) ? names[i] : Hex4(*id));
            UiccFileProfile directory;
            directory.path = path;
            directory.type = IsApplicationName(names[i]) ? UiccFileType::Application : UiccFileType::Directory;
            directory.aid = KnownAid(names[i]);
            if (!IsApplicationName(names[i]))
                directory.fid = id;
            m_placed[key] = path;
            m_files.push_back(directory);
        }
        return path;
    }

    // Records where a dumped file went; a directory's dumped entry replaces
    // the one made for it.
    void Add(const std::vector<std::string>& names, UiccFileProfile file)
    {
        const std::string key = Where(names);
        for (UiccFileProfile& made : m_files) {
            if (made.path == file.path) {
                made = std::move(file);
                return;
            }
        }
        m_placed[key] = file.path;
        m_files.push_back(std::move(file));
    }

    bool Has(const std::vector<std::string>& names) const { return m_placed.count(Where(names)) != 0; }
    std::vector<UiccFileProfile> Files() && { return std::move(m_files); }

    static std::string Hex4(uint16_t id)
    {
        static const char digits[] = "0123456789ABCDEF";
        return {digits[id >> 12], digits[id >> 8 & 0xF], digits[id >> 4 & 0xF], digits[id & 0xF]};
    }

private:
    std::map<std::string, std::vector<std::string>> m_placed;
    std::vector<UiccFileProfile> m_files;
};

struct DumpEntry {
    std::vector<std::string> names;
    const json* entry;
};

UiccFileProfile DumpedFile(const DumpEntry& dumped, std::vector<std::string> path)
{
    const json& entry = *dumped.entry;
    UiccFileProfile file;
    file.path = std::move(path);
    if (entry.contains("fcp_raw") && entry.at("fcp_raw").is_string())
        file.fcp = HexField(entry.at("fcp_raw"), file.path, "\"fcp_raw\"");
    std::optional<FcpFacts> facts = file.fcp.empty() ? std::nullopt : ParseFcp(file.fcp);
    if (!facts)
        file.fcp.clear(); // not a template: answer one built from the rest
    const json* body = entry.contains("body") ? &entry.at("body") : nullptr;
    if (body != nullptr && body->is_string()) {
        file.data = HexField(*body, file.path, "\"body\"");
        file.type = UiccFileType::Transparent;
    } else if (body != nullptr && body->is_array()) {
        file.records = HexList(*body, file.path);
        file.type = UiccFileType::LinearFixed;
    } else {
        file.read = UiccAccess::Never; // dumped without its content
        file.type = UiccFileType::Directory;
    }
    Complete(file, facts, !(facts && facts->type));
    if (IsApplicationName(dumped.names.back())) {
        file.type = UiccFileType::Application;
        if (file.aid.empty())
            file.aid = KnownAid(dumped.names.back());
    }
    if (file.data.size() > 0x7FFF)
        file.data.resize(0x7FFF); // beyond what an offset reaches
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

bool IsFsDump(const json& root)
{
    return root.is_object() && root.contains("files") && !root.contains("uicc");
}

CardProfile ReadFsDump(const json& root)
{
    const json& files = root.at("files");
    if (!files.is_object() && !files.is_array())
        throw ProfileError("dump: \"files\" must be an object or a list");
    std::vector<DumpEntry> entries;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!it->is_object())
            continue;
        std::vector<std::string> names = DumpPath(*it, files.is_object() ? it.key() : "");
        if (!names.empty() && names[0] == "MF")
            entries.push_back({std::move(names), &*it});
    }
    // Parents first, each file once (the first entry of a path wins).
    std::stable_sort(entries.begin(), entries.end(),
                     [](const DumpEntry& a, const DumpEntry& b) { return a.names.size() < b.names.size(); });
    DumpTree tree;
    for (const DumpEntry& dumped : entries) {
        if (tree.Has(dumped.names) && dumped.names.size() > 1)
            continue;
        std::vector<std::string> path = tree.Place(dumped.names, dumped.names.size() - 1);
        if (path.empty() && dumped.names.size() > 1)
            continue; // under a directory it cannot place
        const std::string& own = dumped.names.back();
        UiccFileProfile file = DumpedFile(dumped, path);
        if (dumped.names.size() == 1) {
            file.path = {"3F00"};
        } else if (IsApplicationName(own)) {
            file.path.push_back(own);
        } else if (file.fid || KnownDirectory(own)) {
            file.path.push_back(DumpTree::Hex4(file.fid ? *file.fid : *KnownDirectory(own)));
            file.fid = file.fid ? file.fid : KnownDirectory(own);
        } else {
            continue; // no file id to select it by
        }
        tree.Add(dumped.names, std::move(file));
    }

    CardProfile profile;
    UiccProfile uicc;
    uicc.answersGsm = false;
    uicc.files = std::move(tree).Files();
    profile.uicc = std::move(uicc);
    profile.hasDfGsm = false;
    profile.hasDfTelecom = false;
    profile.chv1.enabled = false;
    profile.chv2.present = true;
    profile.chv2.enabled = false;
    return profile;
}

} // namespace simcard
