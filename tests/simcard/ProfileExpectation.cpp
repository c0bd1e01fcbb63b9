#include "ProfileExpectation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "sim/text/UtfCodec.h"

namespace {

using nlohmann::json;

// Latin-1 bytes (byte value = code point) as UTF-8.
std::string Latin1ToUtf8(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        AppendUtf8(out, c);
    return out;
}

std::u16string Ascii16(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

ExpectedDiallingFile DiallingFile(const json& object)
{
    ExpectedDiallingFile file;
    file.enabled = object.at("enabled").get<bool>();
    file.exact = object.contains("entries");
    for (const json& entry : object.at(file.exact ? "entries" : "includes"))
        file.entries.emplace_back(entry.at(0).get<std::string>(), entry.at(1).get<std::string>());
    return file;
}

std::vector<std::pair<std::string, std::string>> Entries(const DiallingNumberFile& file)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& [name, number] : file.Entries)
        entries.emplace_back(Latin1ToUtf8(name), number);
    return entries;
}

std::vector<ExpectedSms> Messages(const SmsFile& file)
{
    std::vector<ExpectedSms> messages;
    for (const SmsMessage& m : file.messages)
        messages.push_back({m.status, Utf16ToUtf8(m.sender), Utf16ToUtf8(m.date), Utf16ToUtf8(m.text)});
    return messages;
}

template <typename T>
bool Contains(const std::vector<T>& all, const T& one)
{
    return std::find(all.begin(), all.end(), one) != all.end();
}

void ExpectDiallingFile(const char* what, const DiallingNumberFile& file, const ExpectedDiallingFile& expected)
{
    EXPECT_EQ(file.Enabled, expected.enabled) << what;
    const auto entries = Entries(file);
    if (expected.exact) {
        EXPECT_EQ(entries, expected.entries) << what;
        return;
    }
    for (const auto& entry : expected.entries)
        EXPECT_TRUE(Contains(entries, entry)) << what << " lacks " << entry.first << " " << entry.second;
}

} // namespace

bool operator==(const ExpectedSms& a, const ExpectedSms& b)
{
    return a.status == b.status && a.sender == b.sender && a.date == b.date && a.text == b.text;
}

std::ostream& operator<<(std::ostream& out, const ExpectedSms& m)
{
    return out << "{" << m.status << ", " << m.sender << ", " << m.date << ", \"" << m.text << "\"}";
}

ProfileExpectation LoadExpectation(const std::string& profilePath)
{
    std::ifstream in(profilePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const json root = json::parse(text.str(), nullptr, false);
    if (!in || root.is_discarded() || !root.contains("expect"))
        throw std::runtime_error("no expectations in " + profilePath);
    const json& e = root.at("expect");
    ProfileExpectation expected;
    if (root.contains("pin1") && root.at("pin1").contains("value"))
        expected.pin = Ascii16(root.at("pin1").at("value").get<std::string>());
    expected.isGsm = e.at("gsm").get<bool>();
    expected.cardLies = e.value("lies", false);
    if (!expected.isGsm)
        return expected;
    expected.iccid = e.at("iccid").get<std::string>();
    expected.imsi = e.at("imsi").get<std::string>();
    expected.pin1Text = e.at("pin1").get<std::string>();
    expected.pin2Text = e.at("pin2").get<std::string>();
    expected.fdn = DiallingFile(e.at("fdn"));
    expected.adn = DiallingFile(e.at("adn"));
    expected.smsExact = e.contains("sms");
    for (const json& m : e.at(expected.smsExact ? "sms" : "smsIncludes"))
        expected.sms.push_back({m.at("status").get<std::string>(), m.at("sender").get<std::string>(),
                                m.at("date").get<std::string>(), m.at("text").get<std::string>()});
    return expected;
}

void ExpectReadoutMatches(const SimReadout& readout, const ProfileExpectation& expected)
{
    ASSERT_EQ(readout.connectResult, 0);
    ASSERT_EQ(readout.isGsm, expected.isGsm);
    if (!expected.isGsm)
        return;
    EXPECT_EQ(readout.iccid, expected.iccid);
    EXPECT_EQ(readout.imsi, expected.imsi);
    EXPECT_EQ(readout.pin1Text, expected.pin1Text);
    EXPECT_EQ(readout.pin2Text, expected.pin2Text);
    ExpectDiallingFile("FDN", readout.fdn, expected.fdn);
    ExpectDiallingFile("ADN", readout.adn, expected.adn);
    const std::vector<ExpectedSms> messages = Messages(readout.sms);
    if (expected.smsExact) {
        EXPECT_EQ(messages, expected.sms);
    } else {
        for (const ExpectedSms& m : expected.sms)
            EXPECT_TRUE(Contains(messages, m)) << "SMS not read: " << m;
    }
    for (long error : readout.errors)
        EXPECT_TRUE(expected.cardLies || !IsTransportError(error)) << "transport error " << std::hex << error;
}

void ExpectPartialReadoutConsistent(const SimReadout& readout, const ProfileExpectation& expected)
{
    if (!readout.isGsm)
        return;
    EXPECT_EQ(readout.iccid, expected.iccid);
    const auto within = [](const char* what, const DiallingNumberFile& file, const ExpectedDiallingFile& all) {
        for (const auto& entry : Entries(file))
            EXPECT_TRUE(Contains(all.entries, entry)) << what << " invented " << entry.first << " " << entry.second;
    };
    within("FDN", readout.fdn, expected.fdn);
    within("ADN", readout.adn, expected.adn);
    const std::vector<ExpectedSms> messages = Messages(readout.sms);
    ASSERT_LE(messages.size(), expected.sms.size());
    for (size_t i = 0; i < messages.size(); ++i)
        EXPECT_EQ(messages[i], expected.sms[i]) << "message " << i; // in record order, a prefix
}
