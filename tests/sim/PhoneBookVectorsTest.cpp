// Real-world vectors from tests/vectors/public-vectors.json through the
// phone-book decoders (dialling records, alpha identifiers, 7-bit text):
// where a vector states its meaning, that is what comes out.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "PublicVectors.h"
#include "sim/SeptetCodes.h"
#include "sim/text/AlphaIdentifier.h"
#include "sim/dialling/DiallingDigits.h"
#include "sim/text/GsmText.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/text/Septets.h"

namespace {

struct FullAdnExpectation {
    bool used;
    std::string name;
    std::string number;
    ExtensionState extension;
};

// What the vector states, where it states it: pySim gives the digits and
// the type of number apart, the others the number as dialled.
void ExpectAsStated(const json& stated, const PhoneBookRecord* record)
{
    if (stated.contains("isEmpty")) {
        EXPECT_EQ(record == nullptr, stated.at("isEmpty").get<bool>());
    }
    if (record == nullptr)
        return;
    for (const char* key : {"alpha_id", "alphaTag"}) {
        if (stated.contains(key)) {
            EXPECT_EQ(record->name, stated.at(key).get<std::string>());
        }
    }
    if (stated.contains("number")) {
        EXPECT_EQ(record->number, stated.at("number").get<std::string>());
    }
    if (stated.contains("dialing_nr")) {
        const bool international = stated.at("ton_npi").at("type_of_number") == "international";
        EXPECT_EQ(record->number, (international ? "+" : "") + stated.at("dialing_nr").get<std::string>());
    }
}

TEST(PhoneBookVectors, DiallingRecords)
{
    const std::map<std::string, FullAdnExpectation> expected = {
        {"pysim-adn-1", {true, "B HA 1 Sic", "6082658001", ExtensionState::None}},
        {"pysim-adn-2", {true, "Kundenbetreuung", "+491721217212", ExtensionState::None}},
        {"pysim-msisdn-1", {true, "", "12345", ExtensionState::None}}, // a number without a name is kept
        {"pysim-msisdn-2", {true, "Eigene Rufnummer", "+4917279119183", ExtensionState::None}},
        {"aosp-adn-typical", {true, "Voice Mail", "+18056377243", ExtensionState::None}},
        {"aosp-adn-empty", {false, "", "", ExtensionState::None}},
        {"aosp-adn-tooshort", {false, "", "", ExtensionState::None}},
        {"aosp-adn-toa-ff", {true, "Voice Mail", "18056377243", ExtensionState::None}},
        {"aosp-adn-toa-81", {true, "Voice Mail", "18056377243", ExtensionState::None}},
        {"aosp-adn-len-too-long", {true, "Voice Mail", "", ExtensionState::None}},
        {"aosp-adn-len-zero", {true, "Voice Mail", "", ExtensionState::None}},
        {"aosp-adn-len2-ff", {true, "Voice Mail", "", ExtensionState::None}}, // no lone "+"
        {"aosp-adn-len2-plus1", {true, "Voice Mail", "+1", ExtensionState::None}},
        // Names EXT1 record 1, which the vector does not give.
        {"aosp-adn-extended", {true, "Adgjm", "+18885551212,12345678", ExtensionState::Missing}},
        {"pysim-fsdump-msisdn", {true, "", "6766266", ExtensionState::None}},
    };
    ForEachVector("ef_adn", expected, [](const json& vector, const FullAdnExpectation& want) {
        RawCardFile file;
        file.recordLength = static_cast<uint8_t>(vector.at("record_len").get<int>());
        file.records = {VectorBytes(vector)};
        const PhoneBook book = DecodePhoneBook(file, nullptr);
        ASSERT_EQ(book.records.size(), want.used ? 1u : 0u);
        const PhoneBookRecord* record = want.used ? &book.records[0] : nullptr;
        ExpectAsStated(vector.at("stated"), record);
        if (record) {
            EXPECT_EQ(record->record, 1u);
            EXPECT_EQ(record->name, want.name);
            EXPECT_EQ(record->number, want.number);
            EXPECT_EQ(record->extension.state, want.extension);
        }
    });
}

// The field of a vector: the whole hex, or (for a record quoted whole) the
// alpha identifier at `offset` of the record, as long as the record less 15.
struct AlphaField {
    size_t offset = 0;
    bool inRecord = false;
};

TEST(PhoneBookVectors, AlphaIdentifiersAsStated)
{
    const std::map<std::string, AlphaField> fields = {
        {"pysim-ucs2-ts102221-ex1", {}}, {"pysim-ucs2-ts102221-ex2", {}}, {"pysim-ucs2-ts102221-ex3", {}},
        {"pysim-ucs2-v2-gsm-only", {}},  {"pysim-ucs2-v2-mixed", {}},     {"pysim-ucs2-v3", {}},
        {"pysim-ucs2-v1", {}},           {"aosp-ucs2-80-real", {}},        {"aosp-ucs2-81", {}},
        {"aosp-ucs2-82-1111annexB", {}}, {"aosp-gsm-alpha-in-adn", {1, true}}, {"pysim-spn-gsm", {}},
    };
    ForEachVector("alpha_identifier", fields, [](const json& vector, const AlphaField& where) {
        const Bytes bytes = VectorBytes(vector);
        const size_t length = where.inRecord ? bytes.size() - 15 : bytes.size();
        const AlphaText alpha = DecodeAlphaIdentifier(bytes.data() + where.offset, length);
        EXPECT_EQ(alpha.text, vector.at("stated_text").get<std::string>());
    });
}

// Both ways to septets (from a bit offset for user data, whole bytes for
// addresses) give the stated text through the extension table.
TEST(PhoneBookVectors, SevenBitTextWithTheExtensionTable)
{
    for (const json& vector : Vectors().at("gsm7_packing")) {
        SCOPED_TRACE(vector.at("id").get<std::string>());
        const Bytes packed = VectorBytes(vector, "packed_hex");
        const size_t septets = vector.at("septets");
        const std::string text = vector.at("text");
        const auto codes = UnpackSeptetsAt(packed.data(), packed.size(), 0, septets);
        EXPECT_EQ(GsmCodesToUtf8(codes.data(), codes.size()), text);
        const std::string whole = UnpackSeptetCodes(packed.data(), packed.size());
        ASSERT_GE(whole.size(), septets);
        EXPECT_EQ(GsmCodesToUtf8(reinterpret_cast<const uint8_t*>(whole.data()), septets), text);
    }
}

} // namespace
