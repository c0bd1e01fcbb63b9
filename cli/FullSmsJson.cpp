#include "FullSmsJson.h"

#include "ContentWords.h"
#include "HexText.h"
#include "sim/SimFiles.h"

namespace {

using nlohmann::ordered_json;

void AddCoding(ordered_json& json, const StoredSms& sms, const JoinedSms& joined)
{
    const DataCoding& coding = sms.coding;
    if (!joined.octets.empty())
        json["userData"] = HexText(joined.octets);
    if (coding.messageClass >= 0)
        json["messageClass"] = coding.messageClass;
    if (coding.compressed)
        json["compressed"] = true;
    if (coding.waiting != WaitingGroup::None)
        json["messageWaiting"] = {{"kind", WaitingKindName(coding.waitingKind)},
                                  {"active", coding.waitingActive},
                                  {"store", coding.waiting == WaitingGroup::Store}};
    if (sms.protocolId)
        json["protocolId"] = *sms.protocolId;
    if (sms.dataCodingScheme)
        json["dataCodingScheme"] = *sms.dataCodingScheme;
}

void AddByType(ordered_json& json, const StoredSms& sms)
{
    if (sms.messageReference)
        json["reference"] = *sms.messageReference;
    if (sms.type == SmsType::Submit)
        json["validity"] = {{"format", ValidityFormatName(sms.validity.format)}, {"text", ValidityText(sms.validity)}};
    if (sms.type == SmsType::StatusReport && sms.dischargeTimeValid)
        json["dischargeTime"] = IsoText(sms.dischargeTime);
    if (sms.dischargeTimeInvalid)
        json["dischargeTimeInvalid"] = true;
    if (sms.commandType)
        json["commandType"] = {{"value", sms.commandType->value}, {"meaning", CommandTypeName(sms.commandType->kind)}};
    if (sms.messageNumber)
        json["messageNumber"] = *sms.messageNumber;
    if (sms.reportStatus)
        json["reportStatus"] = {{"value", sms.reportStatus->value}, {"meaning", ReportStatusName(*sms.reportStatus)}};
}

void AddConcatenation(ordered_json& json, const StoredSms& sms, const JoinedSms& joined)
{
    if (!joined.concatenated)
        return;
    const ConcatenationPart& part = *sms.userData.concatenation;
    json["parts"] = joined.records;
    json["missing"] = joined.missing;
    json["concatenation"] = {
        {"reference", part.reference}, {"referenceBits", part.sixteenBitReference ? 16 : 8}, {"total", part.total}};
}

ordered_json MessageJson(const SmsMessages& messages, const JoinedSms& joined)
{
    const StoredSms& sms = HeadOf(messages, joined);
    ordered_json json;
    json["record"] = joined.records.front();
    json["status"] = SmsStatusName(sms.status);
    json["type"] = SmsTypeName(sms.type);
    json["serviceCentre"] = sms.serviceCentre.text;
    json["address"] = sms.address.text;
    if (const std::string time = TimestampText(sms); !time.empty())
        json["timestamp"] = time;
    else if (sms.timestampInvalid)
        json["timestampInvalid"] = true;
    if (const std::string alphabet = AlphabetText(sms); !alphabet.empty())
        json["alphabet"] = alphabet;
    if (sms.carriesUserData)
        json["text"] = joined.text;
    json["deleted"] = sms.deleted;
    AddConcatenation(json, sms, joined);
    AddCoding(json, sms, joined);
    AddByType(json, sms);
    if (joined.stoppedAt)
        json["error"] = std::string("decoding stopped at the ") + SmsFieldName(*joined.stoppedAt);
    return json;
}

} // namespace

ordered_json SmsJson(const SmsMessages& messages)
{
    ordered_json json;
    json["file"] = FileIdText(simfile::EfSms);
    json["state"] = FileStateName(messages.state);
    json["recordLength"] = messages.recordLength;
    json["recordCount"] = messages.recordCount;
    json["messages"] = ordered_json::array();
    for (const JoinedSms& joined : messages.messages)
        json["messages"].push_back(MessageJson(messages, joined));
    return json;
}
