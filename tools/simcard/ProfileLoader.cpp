#include "ProfileLoader.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "FsDumpLoader.h"
#include "UiccProfileLoader.h"

namespace simcard {
namespace {

using nlohmann::json;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

template <typename T>
T Number(const json& object, const char* key, T fallback, unsigned maximum)
{
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    if (!value.is_number_unsigned() || value.get<unsigned long long>() > maximum)
        throw ProfileError(std::string("\"") + key + "\" must be a number from 0 to " + std::to_string(maximum));
    return static_cast<T>(value.get<unsigned long long>());
}

bool Flag(const json& object, const char* key, bool fallback)
{
    if (!object.contains(key))
        return fallback;
    if (!object.at(key).is_boolean())
        throw ProfileError(std::string("\"") + key + "\" must be true or false");
    return object.at(key).get<bool>();
}

uint8_t Condition(const json& object, const char* key, uint8_t fallback)
{
    if (!object.contains(key))
        return fallback;
    const json& value = object.at(key);
    // Compared whole: 4294967297 is not condition 1.
    if (value.is_number_unsigned() && value.get<unsigned long long>() <= 0x0F)
        return static_cast<uint8_t>(value.get<unsigned long long>());
    static const std::pair<const char*, uint8_t> names[] = {
        {"ALW", access::Always}, {"CHV1", access::Chv1}, {"CHV2", access::Chv2},
        {"ADM", access::Adm},    {"NEV", access::Never},
    };
    if (value.is_string()) {
        for (const auto& [name, condition] : names) {
            if (value.get<std::string>() == name)
                return condition;
        }
    }
    throw ProfileError(std::string("\"") + key + "\" must be ALW, CHV1, CHV2, ADM, NEV or 0..15");
}

AccessProfile Access(const json& object, AccessProfile fallback)
{
    return {Condition(object, "read", fallback.read), Condition(object, "update", fallback.update)};
}

std::vector<uint8_t> Hex(const json& object, const char* key)
{
    if (!object.contains(key) || !object.at(key).is_string())
        throw ProfileError(std::string("\"") + key + "\" must be a hex string");
    return HexToBytes(object.at(key).get<std::string>());
}

std::optional<TransparentFileProfile> Transparent(const json& root, const char* key, AccessProfile access)
{
    if (!root.contains(key))
        return std::nullopt;
    const json& object = root.at(key);
    TransparentFileProfile file;
    file.data = Hex(object, "data");
    if (object.contains("size"))
        file.declaredSize = Number<uint16_t>(object, "size", 0, 0xFFFF);
    file.access = Access(object, access);
    return file;
}

std::optional<RecordFileProfile> Records(const json& root, const char* key, AccessProfile access)
{
    if (!root.contains(key))
        return std::nullopt;
    const json& object = root.at(key);
    RecordFileProfile file;
    file.recordLength = Number<uint8_t>(object, "recordLength", 0, 0xFF);
    file.recordCount = Number<uint16_t>(object, "recordCount", 0, 0xFFFF);
    file.exactRecords = Flag(object, "exactRecords", false);
    file.access = Access(object, access);
    if (object.contains("records")) {
        if (!object.at("records").is_array())
            throw ProfileError("\"records\" must be a list of hex strings");
        for (const json& record : object.at("records")) {
            if (!record.is_string())
                throw ProfileError("\"records\" must be a list of hex strings");
            file.records.push_back(HexToBytes(record.get<std::string>()));
        }
    }
    if (file.records.size() > file.recordCount)
        throw ProfileError(std::string(key) + ": more records than recordCount");
    return file;
}

ChvProfile Chv(const json& root, const char* key, bool presentByDefault)
{
    ChvProfile chv;
    chv.present = presentByDefault;
    if (!root.contains(key))
        return chv;
    const json& object = root.at(key);
    chv.present = Flag(object, "present", true);
    chv.enabled = Flag(object, "enabled", true);
    chv.listedWhenAbsent = Flag(object, "listedWhenAbsent", false);
    if (object.contains("value")) {
        if (!object.at("value").is_string() || object.at("value").get<std::string>().size() > 8)
            throw ProfileError(std::string(key) + ": \"value\" must be a string of at most 8 characters");
        chv.value = object.at("value").get<std::string>();
    }
    chv.maxAttempts = Number<uint8_t>(object, "maxAttempts", 3, 15);
    chv.attemptsLeft = Number<uint8_t>(object, "attempts", chv.maxAttempts, 15);
    return chv;
}

} // namespace

std::vector<uint8_t> HexToBytes(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    int high = -1;
    for (char c : hex) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        const int digit = HexDigit(c);
        if (digit < 0)
            throw ProfileError("not a hex digit: '" + std::string(1, c) + "'");
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0)
        throw ProfileError("odd number of hex digits in \"" + hex + "\"");
    return bytes;
}

CardProfile ParseProfile(const std::string& jsonText)
{
    json root;
    try {
        root = json::parse(jsonText);
    } catch (const json::exception& error) {
        // Bad syntax, and numbers no value type holds (1e999).
        throw ProfileError(error.what());
    }
    if (!root.is_object())
        throw ProfileError("a profile is a JSON object");
    if (IsFsDump(root))
        return ReadFsDump(root);

    CardProfile profile;
    if (root.contains("atr"))
        profile.atr = Hex(root, "atr");
    profile.iccid = Transparent(root, "iccid", {access::Always, access::Never});
    profile.hasDfGsm = Flag(root, "dfGsm", true);
    profile.imsi = Transparent(root, "imsi", {access::Chv1, access::Adm});
    profile.hasDfTelecom = Flag(root, "dfTelecom", true);
    profile.adn = Records(root, "adn", {access::Chv1, access::Chv1});
    profile.fdn = Records(root, "fdn", {access::Chv1, access::Chv2});
    profile.sms = Records(root, "sms", {access::Chv1, access::Chv1});
    static const std::pair<const char*, uint16_t> telecomRecordFiles[] = {
        {"msisdn", 0x6F40}, {"lnd", 0x6F44}, {"sdn", 0x6F49}, {"ext1", 0x6F4A}, {"ext2", 0x6F4B}, {"ext3", 0x6F4C},
    };
    for (const auto& [key, id] : telecomRecordFiles) {
        if (auto file = Records(root, key, {access::Chv1, access::Chv1}))
            profile.telecomRecordFiles.emplace_back(id, std::move(*file));
    }
    profile.spn = Transparent(root, "spn", {access::Always, access::Adm});
    profile.chv1 = Chv(root, "pin1", true);
    profile.chv2 = Chv(root, "pin2", false);
    if (root.contains("gsmDataLength"))
        profile.gsmDataLength = Number<uint8_t>(root, "gsmDataLength", 0, 0xFF);
    if (root.contains("uicc"))
        profile.uicc = ReadUiccSection(root.at("uicc"));
    return profile;
}

CardProfile LoadProfile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ProfileError("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ParseProfile(text.str());
    } catch (const ProfileError& error) {
        throw ProfileError(path + ": " + error.what());
    }
}

} // namespace simcard
