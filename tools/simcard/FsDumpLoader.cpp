#include "FsDumpLoader.h"

#include <algorithm>
#include <map>

#include "UiccFileFields.h"

namespace simcard {
namespace {

using nlohmann::json;
using namespace uicc_fields;

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
