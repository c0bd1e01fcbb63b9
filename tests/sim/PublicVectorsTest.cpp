// Real-world vectors from tests/vectors/public-vectors.json, decoded by this
// program's own rules (no UCS2 alpha identifiers, no escape table, a final
// high-nibble F of BCD dropped, "+" only for type 0x91).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "PublicVectors.h"
#include "SeptetPacker.h"
#include "SmsRecordBuilder.h"
#include "sim/CardIdentity.h"
#include "sim/DiallingNumbers.h"
#include "sim/GsmAlphabet.h"
#include "sim/PinStatus.h"
#include "sim/SmsRecords.h"
#include "tests/ScopedTimeZone.h"

namespace {

struct AdnExpectation {
    bool used;
    std::string name;
    std::string number;
};

TEST(PublicVectors, DiallingRecords)
{
    const std::map<std::string, AdnExpectation> expected = {
        {"pysim-adn-1", {true, "B HA 1 Sic", "6082658001"}},
        {"pysim-adn-2", {true, "Kundenbetreuung", "+491721217212"}},
        {"pysim-msisdn-1", {false, "", ""}}, // blank alpha identifier: the record counts as empty
        {"pysim-msisdn-2", {true, "Eigene Rufnummer", "+4917279119183"}},
        {"aosp-adn-typical", {true, "Voice Mail", "+18056377243"}},
        {"aosp-adn-empty", {false, "", ""}},
        {"aosp-adn-tooshort", {false, "", ""}},
        {"aosp-adn-toa-ff", {true, "Voice Mail", "18056377243"}},
        {"aosp-adn-toa-81", {true, "Voice Mail", "18056377243"}},
        {"aosp-adn-len-too-long", {true, "Voice Mail", ""}},
        {"aosp-adn-len-zero", {true, "Voice Mail", ""}},
        {"aosp-adn-len2-ff", {true, "Voice Mail", "+"}},
        {"aosp-adn-len2-plus1", {true, "Voice Mail", "+1"}},
        {"aosp-adn-extended", {true, "Adgjm", "+18885551212C12345678"}},
        {"pysim-fsdump-msisdn", {false, "", ""}},
    };
    ForEachVector("ef_adn", expected, [](const json& vector, const AdnExpectation& want) {
        const Bytes record = VectorBytes(vector);
        const int recordLength = vector.at("record_len");
        const uint8_t alphaLength = static_cast<uint8_t>(recordLength > 14 ? recordLength - 14 : 0);
        PhoneBookEntry entry;
        EXPECT_EQ(DecodeDiallingRecord(record.data(), record.size(), alphaLength, entry), want.used);
        if (want.used) {
            EXPECT_EQ(entry.first, want.name);
            EXPECT_EQ(entry.second, want.number);
        }
    });
}

TEST(PublicVectors, AlphaIdentifiersAreReadByteByByte)
{
    const std::map<std::string, Bytes> expected = {
        {"pysim-ucs2-ts102221-ex1", {0x80, 0x40, '0', 0x40, '1', 0x40, '2', 0x40, '3'}},
        {"pysim-ucs2-ts102221-ex2", {0x81, 0xE9, 0x13, 'S', 0x95, 0xA6, 0xA6}},
        {"pysim-ucs2-ts102221-ex3", {0x82, 0xE9, 0xE9, '0', '-', 0x82, 0xD3, '-', '1'}},
        {"pysim-ucs2-v2-gsm-only", {0x81, 0xF2, 0x40, 'm', 'a', 'h', 'l', 'z', 'e', 'i', 't'}},
        {"pysim-ucs2-v2-mixed", {0x81, 0xD8, 0x13, 'm', 'a', 'h', 'l', 'z', 'e', 'i', 't', 0x95, '2', '3'}},
        {"pysim-ucs2-v3", {0x82, 0xC7, 0x80, '#', 'm', 'a', 'h', 'l', 0x80, 'z', 'e', 'i', 't'}},
        {"pysim-ucs2-v1", {0x80, '0', 0x40, ' ', 0x40, 0x10, 0x40}},
        {"aosp-ucs2-80-real", {0x80, 0x96, 's', 'S', 0x9A, 'W', 'd', 0x40, '/', 0x40, 'M'}},
        {"aosp-ucs2-81", {0x81, 0x0A, 0xA3, 'V', 'o', 0xEC, 'c', 'e', ' ', 'M', 0xE0, 'i', 'l'}},
        {"aosp-ucs2-82-1111annexB", {0x82, 0xE9, 0xE9, '0', '-', 0x82, 0xD3, '-', '1'}},
        {"aosp-gsm-alpha-in-adn",
         {0x40, 'V', 'o', 'i', 'c', 'e', ' ', 'M', 'a', 'i', 'l', 0xEC, 0x91, 0x81, 'P', '6', 'w', 'B', 0xF3}},
        {"pysim-spn-gsm", {'G', 'S', 'M', '-', 'R', ' ', 'C', 'H'}},
    };
    ForEachVector("alpha_identifier", expected, [](const json& vector, const Bytes& want) {
        const Bytes field = VectorBytes(vector);
        EXPECT_EQ(GsmAlphaToString(field.data(), field.size()), Narrow(want));
    });
}

TEST(PublicVectors, SevenBitPacking)
{
    const std::map<std::string, Bytes> expected = {
        {"gsmmodem-gsm7-0", {'1', '2', '3'}},
        {"gsmmodem-gsm7-1", {'1', '2', '3', '4', '5', '6', '7', '8'}},
        {"gsmmodem-gsm7-2", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}},
        {"gsmmodem-gsm7-3", {'H', 'e', 'l', 'l', 'o', ' ', 'W', 'o', 'r', 'l', 'd', '!'}},
        // No escape table: 0x1B stays and the next septet is mapped like any other.
        {"gsmmodem-gsm7-4", {0x1B, '<', 0x1B, '(', 'a', 'b', 'c', 0x1B, ')', 0x1B, '>', 0x1B, '='}},
        {"gsmmodem-gsm7-5", {0x1B, '(', 0xE5, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1B, 'e', 0x1B, ')'}},
        {"gsmmodem-gsm7-6", {'a', 0x1B, '<', 0x1B, '>', 0x1B, '(', 0x1B, ')', 0x1B, 'e'}},
        {"gsmmodem-gsm7-7", Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', '2', '3', '4', '5',
                                  '6', '7', '8', '9', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}},
        {"ofono-hellohello", {'h', 'e', 'l', 'l', 'o', 'h', 'e', 'l', 'l', 'o'}},
    };
    ForEachVector("gsm7_packing", expected, [](const json& vector, const Bytes& want) {
        const Bytes packed = VectorBytes(vector, "packed_hex");
        const int septets = vector.at("septets");
        ASSERT_EQ(static_cast<size_t>(septets), want.size());
        EXPECT_EQ(UnpackSeptets(packed.data(), static_cast<uint8_t>(packed.size())), Narrow(want));

        SmsRecordBuilder builder;
        builder.userDataLength = static_cast<uint8_t>(septets);
        builder.userData = packed;
        const Bytes record = builder.Build();
        SmsMessage message;
        ASSERT_TRUE(DecodeSms(message, record.data(), record.size()));
        EXPECT_EQ(message.text.size(), want.size());
    });
}

TEST(PublicVectors, PackerAgreesWithPublishedPacking)
{
    // "hellohello" packed by another implementation, as a check of the test's own packer.
    const json& vector = Vectors().at("gsm7_packing").back();
    ASSERT_EQ(vector.at("id"), "ofono-hellohello");
    const std::string text = vector.at("text");
    EXPECT_EQ(PackSeptets(Bytes(text.begin(), text.end())), VectorBytes(vector, "packed_hex"));
}

struct AddressExpectation {
    bool listed;
    std::u16string text;
};

TEST(PublicVectors, SmsAddresses)
{
    const std::map<std::string, AddressExpectation> expected = {
        {"gsmmodem-addr-0", {true, u"+9876543210"}},
        {"gsmmodem-addr-1", {true, u"+987654321"}},
        {"gsmmodem-addr-2", {true, u"+27829135934"}},
        {"gsmmodem-addr-3", {false, u"161F81"}}, // alphanumeric senders are not listed
        {"gsmmodem-addr-4", {false, u"64960D93C7627A"}},
        {"gsmmodem-addr-5", {false, u"1ED0F63EBD0A639AD491"}},
        {"gsmmodem-addr-6", {true, u"0129998765"}},
        {"gsmmodem-addr-7", {true, u"+9876543210"}},
        {"gsmmodem-addr-8", {true, u"+987654321"}},
        {"gsmmodem-addr-9", {true, u"+2782913593"}},
        {"pysim-addr-0480", {true, u"1234"}},
        {"pysim-addr-0380", {true, u"123"}},
        {"pysim-addr-0591", {true, u"+12345"}},
    };
    ForEachVector("sms_address_field", expected, [](const json& vector, const AddressExpectation& want) {
        Bytes address = VectorBytes(vector);
        SmsRecordBuilder builder;
        SmsMessage message;
        if (vector.at("kind").get<std::string>().starts_with("SMSC")) {
            builder.serviceCentre = address;
            const Bytes record = builder.Build();
            EXPECT_EQ(DecodeSms(message, record.data(), record.size()), want.listed);
            EXPECT_EQ(message.serviceCentre, std::string(want.text.begin(), want.text.end()));
        } else {
            address.resize((address[0] + 1) / 2 + 2); // the digits the length octet counts
            builder.sender = address;
            const Bytes record = builder.Build();
            EXPECT_EQ(DecodeSms(message, record.data(), record.size()), want.listed);
            EXPECT_EQ(message.sender, want.text);
        }
    });
}

TEST(PublicVectors, IccIds)
{
    const std::map<std::string, std::string> expected = {
        {"iccid-988812-pysim_51011", "8988211000000430010"},
        {"iccid-981062-aosp_simutils", "8901260450014484862"},
        {"iccid-98E062-aosp_simutils_new", "890E260450014484862"}, // every nibble is shown
        {"iccid-98F062-aosp_simutils_new", "890F260450014484862"}, // an inner F is a digit
        {"iccid-989444-pysim_fsdump", "8949440000001155314"},
    };
    ForEachVector("ef_iccid", expected, [](const json& vector, const std::string& want) {
        const Bytes bytes = VectorBytes(vector);
        ASSERT_EQ(bytes.size(), IccIdLength);
        EXPECT_EQ(IccIdText(bytes.data(), bytes.size()), want);
    });
}

TEST(PublicVectors, Imsis)
{
    const std::map<std::string, std::string> expected = {
        {"imsi-228062800000208", "228062800000208"},
        {"imsi-262011106487504", "262011106487504"},
    };
    ForEachVector("ef_imsi", expected, [](const json& vector, const std::string& want) {
        const Bytes bytes = VectorBytes(vector);
        ASSERT_EQ(ImsiReadLength(static_cast<uint16_t>(bytes.size())), bytes.size());
        EXPECT_EQ(ImsiText(bytes.data(), bytes.size()), want);
    });
}

struct SelectExpectation {
    bool directory;
    uint8_t recordLength;
    uint16_t recordCount;
};

TEST(PublicVectors, SelectResponses)
{
    const std::map<std::string, SelectExpectation> expected = {
        {"pysim_selresp-mf", {true, 0, 0}},
        {"pysim_selresp-df.telecom", {true, 0, 0}},
        {"pysim_selresp-ef.msisdn", {false, 26, 2}},
        {"pysim_selresp-ef.iccid", {false, 0, 0}}, // transparent: no record length
    };
    ForEachVector("gsm_select_response", expected, [](const json& vector, const SelectExpectation& want) {
        const Bytes response = VectorBytes(vector);
        if (want.directory) {
            // The directory layout of STATUS: CHV1 disabled (0x81), 3 tries for both CHVs.
            uint8_t length = 0;
            ASSERT_TRUE(SecondStatusLength(response.data(), 13, length));
            EXPECT_EQ(length, response.size());
            PinStatus status;
            ASSERT_TRUE(DecodePinStatus(response.data(), response.size(), status));
            EXPECT_FALSE(status.pin1Enabled);
            EXPECT_TRUE(status.pin2Known);
            EXPECT_EQ(status.pin1TriesLeft, 3);
            EXPECT_EQ(status.pin2TriesLeft, 3);
            return;
        }
        DiallingNumberFile file;
        EXPECT_EQ(ParseDiallingFileHeader(response, file), 0);
        EXPECT_EQ(file.RecordLength, want.recordLength);
        EXPECT_EQ(file.RecordCount, want.recordCount);
        SmsFile smsFile;
        EXPECT_EQ(ParseSmsFileHeader(response, smsFile), 0);
        EXPECT_EQ(smsFile.recordLength, want.recordLength);
        EXPECT_EQ(smsFile.recordCount, want.recordCount);
    });
}

struct SubmitExpectation {
    bool listed;
    std::string serviceCentre;
    std::u16string sender;
    size_t textLength;
};

TEST(PublicVectors, OtherMessageTypesAreReadAsDeliver)
{
    const std::map<std::string, SubmitExpectation> expected = {
        {"ofono-simple-submit", {true, "", u"", 10}},            // user data cut to the record
        {"ofono-ems-udh", {true, "+491722270333", u"1915", 35}},
        {"gsmmodem-submit-vp", {true, "+31624000000", u"1931628870634", 9}},
        {"gsmmodem-submit-ucs2", {true, "+34646456456", u"", 6}},
        {"gsmmodem-submit-8bit", {true, "+2781191", u"", 12}},
        {"gsmmodem-status-report", {false, "", u"", 0}},         // its "address" reaches past the record
    };
    ForEachVector("sms_submit_and_other_mti", expected, [](const json& vector, const SubmitExpectation& want) {
        const Bytes record = Concat({Bytes{0x07}, VectorBytes(vector)});
        SmsMessage message;
        EXPECT_EQ(DecodeSms(message, record.data(), record.size()), want.listed);
        EXPECT_EQ(message.status, "To be sent");
        EXPECT_EQ(message.serviceCentre, want.serviceCentre);
        if (want.listed) {
            EXPECT_EQ(message.sender, want.sender);
            EXPECT_EQ(message.text.size(), want.textLength);
        }
    });
}

TEST(PublicVectors, SubmitTimeStampFieldsAreNormalised)
{
    const ScopedTimeZone utc("UTC0"); // mktime normalises in local time
    for (const json& vector : Vectors().at("sms_submit_and_other_mti")) {
        if (vector.at("id") != "gsmmodem-submit-8bit")
            continue;
        const Bytes record = Concat({Bytes{0x07}, VectorBytes(vector)});
        SmsMessage message;
        ASSERT_TRUE(DecodeSms(message, record.data(), record.size()));
        // Octets 28 21 43 65 F7 read as 1982-12-34 56:85:00.
        EXPECT_EQ(message.date, u"Wed Jan 05 09:25:00 1983");
        return;
    }
    FAIL() << "gsmmodem-submit-8bit not found";
}

// Bytes 0x80-0x9F convert by the code page: 1252 under Windows, Latin-1 elsewhere.
char16_t CodePageUnit(uint8_t byte)
{
#ifdef _WIN32
    if (byte == 0x80)
        return u'\u20AC';
#endif
    return byte;
}

TEST(PublicVectors, UserDataHeadersAreText)
{
    for (const json& vector : Vectors().at("udh")) {
        SCOPED_TRACE(vector.at("id").get<std::string>());
        const Bytes header = VectorBytes(vector);
        for (uint8_t byte : header)
            ASSERT_TRUE(byte < 0x81 || byte > 0x9F) << "vector outside the bytes both code pages share";
        SmsRecordBuilder builder;
        builder.firstOctet = 0x44; // header indicator set
        builder.dataCoding = 0x04;
        builder.userData = header;
        builder.userDataLength = static_cast<uint8_t>(header.size());
        const Bytes record = builder.Build();
        SmsMessage message;
        ASSERT_TRUE(DecodeSms(message, record.data(), record.size()));
        std::u16string want;
        for (uint8_t byte : header)
            want += byte == 0x0A || byte == 0x0D ? u' ' : CodePageUnit(byte);
        EXPECT_EQ(message.text, want);
    }
}

} // namespace
