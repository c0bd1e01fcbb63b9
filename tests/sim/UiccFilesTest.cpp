// The decoders of a UICC's own structures: FCP templates with their PIN
// status template, EF_DIR records, service tables and EF_PBR records. Each
// table holds the real vectors (tests/vectors/uicc-vectors.json, named
// "@id") and the damaged inputs beside them; a decoded value is compared as
// a short summary line.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "PublicVectors.h"
#include "sim/uicc/ApplicationDirectory.h"
#include "sim/uicc/FileControlParameters.h"
#include "sim/uicc/PhoneBookReference.h"
#include "sim/uicc/ServiceTable.h"

namespace {

const json& UiccVectors()
{
    static const json vectors = LoadVectors(VELMORA_UICC_VECTORS_FILE);
    return vectors;
}

std::string HexOf(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes)
        text += {digits[byte >> 4], digits[byte & 0x0F]};
    return text;
}

std::string Keys(const PinStatusTemplate& pins)
{
    std::string text;
    for (const KeyStatus& key : pins.keys) {
        text += text.empty() ? "" : ",";
        text += HexOf({key.keyReference}) + (!key.enabled ? ":?" : *key.enabled ? ":on" : ":off");
    }
    return text;
}

std::string Summary(const FileControlParameters& fcp)
{
    static const std::map<FileStructure, const char*> structures = {
        {FileStructure::Unknown, "unknown"},         {FileStructure::Directory, "df"},
        {FileStructure::Transparent, "transparent"}, {FileStructure::LinearFixed, "linear"},
        {FileStructure::Cyclic, "cyclic"},           {FileStructure::BerTlv, "ber-tlv"}};
    static const std::map<LifeCycle, const char*> lifeCycles = {
        {LifeCycle::Unknown, "unknown"},     {LifeCycle::Creation, "creation"},
        {LifeCycle::Initialisation, "init"}, {LifeCycle::Activated, "activated"},
        {LifeCycle::Deactivated, "deactivated"}, {LifeCycle::Terminated, "terminated"}};
    static const std::map<FcpProblem, const char*> problems = {
        {FcpProblem::NotFcp, "not-fcp"}, {FcpProblem::Cut, "cut"},         {FcpProblem::BadDescriptor, "descriptor"},
        {FcpProblem::BadFileId, "fid"},  {FcpProblem::BadSfi, "sfi"},      {FcpProblem::BadSize, "size"},
        {FcpProblem::BadLifeCycle, "life"}, {FcpProblem::BadPinStatus, "pins"}};
    std::ostringstream out;
    if (!fcp.descriptor) {
        out << "-";
    } else {
        out << structures.at(fcp.descriptor->structure);
        if (fcp.descriptor->recordLength || fcp.descriptor->recordCount)
            out << ' ' << fcp.descriptor->recordLength << 'x' << unsigned{fcp.descriptor->recordCount};
        if (fcp.descriptor->shareable)
            out << " shareable";
    }
    if (fcp.fileId)
        out << " fid=" << HexOf({uint8_t(*fcp.fileId >> 8), uint8_t(*fcp.fileId)});
    if (!fcp.dfName.empty())
        out << " aid=" << HexOf(fcp.dfName);
    if (fcp.sfi.state != SfiState::Absent)
        out << " sfi=" << (fcp.sfi.state == SfiState::Present ? std::to_string(fcp.sfi.value) : "none");
    if (fcp.lifeCycleByte)
        out << ' ' << lifeCycles.at(fcp.lifeCycle);
    if (fcp.fileSize)
        out << " size=" << *fcp.fileSize;
    for (const SecurityAttribute& attribute : fcp.security)
        out << ' ' << HexOf({attribute.tag}) << '=' << HexOf(attribute.value);
    if (fcp.pinStatus)
        out << " pins=" << Keys(*fcp.pinStatus);
    for (FcpProblem problem : fcp.problems)
        out << " !" << problems.at(problem);
    return out.str();
}

// An FCP, or a part of one (a file descriptor, a PIN status template) put
// into an FCP template.
FileControlParameters DecodeFcp(const Bytes& bytes)
{
    if (bytes.empty() || (bytes[0] != 0x82 && bytes[0] != 0xC6))
        return DecodeFileControlParameters(bytes.data(), bytes.size());
    const Bytes wrapped = Concat({Bytes{0x62, static_cast<uint8_t>(bytes.size())}, bytes});
    return DecodeFileControlParameters(wrapped.data(), wrapped.size());
}

TEST(FileControlParameters, DecodesEveryObjectWithinWhatWasReceived)
{
    const std::vector<VectorRow<std::string>> rows = {
        {"@mf-fcp", "df shareable fid=3F00 activated 8B=2F0601 pins=01:off,0A:on,0B:on"},
        {"@ef-imsi-fcp", "transparent shareable fid=6F07 sfi=7 activated size=9 8B=6F060A"},
        {"@ef-linear-fixed-descriptor", "linear 110x5 shareable"},
        {"@ef-sms-descriptor", "linear 176x30 shareable"},
        {"@ef-fdn-descriptor", "linear 28x20 shareable"},
        {"@adf-pin-status", "- pins=01:off,81:on,0A:on,0B:on !descriptor"},
        {"@adf-pin-status-real", "- pins=01:off,81:on,0A:on !descriptor"},
        // An ADF selected by AID need not carry a file id.
        {"62 19 8202 7821 8410 A0000000871002FFFFFFFF8907090000 8A01 05", "df shareable aid=A0000000871002FFFFFFFF8907090000 activated"},
        {"62 04 8202 7921", "ber-tlv shareable"}, // 79: not a DF
        {"62 07 8205 4621 001A 0A", "cyclic 26x10 shareable"},
        {"62 0C 8202 0121 8800 8A01 04 8001 0A", "transparent sfi=none deactivated size=10"},
        {"62 07 8202 0121 8A01 0C", "transparent terminated"},
        {"62 04 8202 9221", "unknown"},
        {"62 81 04 8202 7821", "df shareable"},                      // long-form length
        {"62 04 8202 4221", "linear shareable !descriptor"},         // no record length or count
        {"62 20 8202 7821 8302 3F00", "df shareable fid=3F00 !cut"}, // template longer than received
        {"62 08 8202 7821 8305 3F00", "df shareable !cut"},          // object longer than its template
        {"62 0C 8202 7821 8301 3F 8801 00 8A00", "df shareable !fid !sfi !life"},
        {"62 0C 8202 7821 C60C 9001 60 8301 01", "df shareable pins=01:off !cut !pins"},
        {"62 82 00", "- !not-fcp"},
        {"6F 00", "- !not-fcp"},
        {"", "- !not-fcp"},
    };
    ForEachRow<std::string>(UiccVectors(), "fcp", rows, [](const Bytes& bytes, const std::string& expected) {
        EXPECT_EQ(Summary(DecodeFcp(bytes)), expected);
    });
}

struct PinCase {
    const char* hex; // the value of a C6 object
    const char* keys;
    bool malformed;
    int applicationKey; // -1: none
    int secondKey;
};

int KeyOrNone(std::optional<uint8_t> key)
{
    return key ? *key : -1;
}

TEST(PinStatusTemplate, AppliesThePsDoBitsInTheOrderOfTheKeys)
{
    const PinCase cases[] = {
        {"9001 70 8301 01 8301 81 8301 0A 8301 0B", "01:off,81:on,0A:on,0B:on", false, 0x01, 0x81},
        {"9001 40 8301 01 9501 08 8301 11", "01:off,11:on", false, 0x11, -1},  // universal PIN in use
        {"9001 C0 8301 01 9501 00 8301 11", "01:on,11:on", false, 0x01, -1},   // universal PIN not used
        {"9002 0040 8301 01 8301 02 8301 03 8301 04 8301 05 8301 06 8301 07 8301 08 8301 0A 8301 0B",
         "01:off,02:off,03:off,04:off,05:off,06:off,07:off,08:off,0A:off,0B:on", false, 0x01, -1},
        {"9001 FF 8301 01 8301 02 8301 03 8301 04 8301 05 8301 06 8301 07 8301 08 8301 0A",
         "01:on,02:on,03:on,04:on,05:on,06:on,07:on,08:on,0A:?", false, 0x01, -1}, // PS_DO too short
        {"8301 01 8301 81", "01:?,81:?", true, 0x01, 0x81},                       // no PS_DO
        {"9001 80 8302 0101 8301 81", "", true, -1, -1},                           // later bits would shift
        {"9001 80 8301 81 8305 01", "81:on", true, -1, 0x81},                      // cut
        {"", "", true, -1, -1},
    };
    for (const PinCase& c : cases) {
        SCOPED_TRACE(c.hex);
        const Bytes value = Hex(c.hex);
        const PinStatusTemplate pins = DecodePinStatusTemplate(value.data(), value.size());
        EXPECT_EQ(Keys(pins), c.keys);
        EXPECT_EQ(pins.malformed, c.malformed);
        EXPECT_EQ(KeyOrNone(ApplicationPinKey(pins)), c.applicationKey);
        EXPECT_EQ(KeyOrNone(SecondPinKey(pins)), c.secondKey);
    }
}

TEST(ApplicationDirectory, FindsAidAndLabelOrReportsTheRecord)
{
    const std::vector<VectorRow<std::string>> rows = {
        {"@dir-usim", "A0000000871002FFFFFFFF8907090000 'USim1' usim"},
        {"61 10 4F07 A0000000871004 5005 4953696D31 FFFF", "A0000000871004 'ISim1'"},
        {"61 09 4F07 A0000000871002", "A0000000871002 '' usim"}, // the bare prefix, no label
        {"61 08 4F06 A00000008710", "A00000008710 ''"},          // shorter than the prefix
        {"FFFFFFFFFFFFFFFF", "unused"},
        {"", "unused"},
        {"61 29 4F10 A0000000871002", "malformed"},  // template longer than the record
        {"61 05 4F07 A0000000", "malformed"},        // AID longer than its template
        {"61 03 5001 41", "malformed"},              // no AID
        {"61 02 4F00", "malformed"},
        {"61 13 4F11 A0000000871002FFFFFFFF890709000000", "malformed"}, // AID above 16 bytes
        {"62 09 4F07 A0000000871002", "malformed"},
    };
    ForEachRow<std::string>(UiccVectors(), "ef_dir", rows, [](const Bytes& bytes, const std::string& expected) {
        const ApplicationRecord application = DecodeApplicationRecord(bytes.data(), bytes.size());
        std::string summary = application.state == DirRecordState::Unused    ? "unused"
                              : application.state == DirRecordState::Malformed ? "malformed"
                                                                               : HexOf(application.aid);
        if (application.state == DirRecordState::Application)
            summary += " '" + application.label + "'" + (IsUsimAid(application.aid) ? " usim" : "");
        EXPECT_EQ(summary, expected);
    });
}

TEST(ServiceTable, ServiceNIsBitNMinusOneCountedFromTheFirstByte)
{
    const Bytes table = Hex("01 02 80");
    const std::pair<unsigned, bool> cases[] = {{0, false}, {1, true},  {2, false}, {10, true},
                                               {9, false}, {24, true}, {25, false}, {4000000000u, false}};
    for (const auto& [service, present] : cases)
        EXPECT_EQ(HasService(table.data(), table.size(), service), present) << service;
}

std::string Summary(const PhoneBookSet& set)
{
    static const std::map<uint8_t, const char*> kinds = {
        {0xC0, "ADN"}, {0xC1, "IAP"}, {0xC2, "EXT1"}, {0xC3, "SNE"},  {0xC4, "ANR"},   {0xC5, "PBC"},
        {0xC6, "GRP"}, {0xC7, "AAS"}, {0xC8, "GAS"},  {0xC9, "UID"},  {0xCA, "EMAIL"}, {0xCB, "CCP1"}};
    if (!set.used)
        return "no set";
    std::ostringstream out;
    for (const PhoneBookFileRef& file : set.files) {
        const auto kind = kinds.find(static_cast<uint8_t>(file.kind));
        out << ' ' << static_cast<int>(file.link) - 0xA7 << ':'
            << (kind == kinds.end() ? HexOf({static_cast<uint8_t>(file.kind)}) : kind->second) << '='
            << HexOf({uint8_t(file.fileId >> 8), uint8_t(file.fileId)});
        if (file.sfi)
            out << '/' << unsigned{*file.sfi};
        if (file.link == PhoneBookLink::Type2)
            out << '@' << file.iapIndex;
    }
    for (PbrProblem problem : set.problems)
        out << (problem == PbrProblem::Cut ? " !cut" : " !file");
    const std::string text = out.str();
    return text.empty() ? text : text.substr(1);
}

TEST(PhoneBookReference, ListsFilesByTypeInOrderWithTheirIapPositions)
{
    const std::vector<VectorRow<std::string>> rows = {
        {"@pbr-sysmoisim", "1:ADN=4F3A/1 1:IAP=4F32/2 1:SNE=4F54/20 1:PBC=4F09/4 1:GRP=4F52/18 1:UID=4F21/9 "
                           "2:ANR=4F11/8@0 2:EMAIL=4F50/13@1 3:EXT1=4F4A/3 3:AAS=4F4B/6 3:GAS=4F53/19 3:CCP1=4F4F/22"},
        {"@pbr-short", "1:ADN=4F3A/2 1:PBC=4F09/4 3:CCP1=4F3D/7 3:EXT1=4F4A/6"},
        {"A80F C0034F3A02 C4034F3B03 C3034F3C04", "1:ADN=4F3A/2 1:ANR=4F3B/3 1:SNE=4F3C/4"},
        {"A90A C4034F1108 C4034F1209 FFFF", "2:ANR=4F11/8@0 2:ANR=4F12/9@1"}, // a repeated tag
        {"A90D C4034F1108 C4014F CA034F500D", "2:ANR=4F11/8@0 2:EMAIL=4F50/13@2 !file"},
        {"AA09 C2024F4A CC034F7001", "3:EXT1=4F4A 3:CC=4F70/1"}, // a tag of no known file is kept
        {"A805 C0034F3A01 A90A C4034F1108", "1:ADN=4F3A/1 2:ANR=4F11/8@0 !cut"}, // A9 longer than the record
        {"A805 C0074F3A01", "!cut"}, // file object longer than its template
        {"FF A80F C0034F3A02", "no set"},
        {"", "no set"},
    };
    ForEachRow<std::string>(UiccVectors(), "ef_pbr", rows, [](const Bytes& bytes, const std::string& expected) {
        EXPECT_EQ(Summary(DecodePhoneBookReference(bytes.data(), bytes.size())), expected);
    });
}

} // namespace
