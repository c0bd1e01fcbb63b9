#include "FullSmsJson.h"

#include "FullSmsView.h"
#include "sim/full/SmsReportStatus.h"

namespace {

using nlohmann::ordered_json;

void AddCoding(ordered_json& json, const FullSms& sms)
{
    const DataCoding& coding = sms.coding;
    if (coding.messageClass >= 0)
        json["messageClass"] = coding.messageClass;
    if (coding.compressed)
        json["compressed"] = true;
    if (coding.waiting != WaitingGroup::None)
        json["messageWaiting"] = {{"kind", WaitingKindName(coding.waitingKind)},
                                  {"active", coding.waitingActive},
                                  {"store", coding.waiting == WaitingGroup::Store}};
    json["protocolId"] = sms.protocolId;
    json["dataCodingScheme"] = sms.dataCodingScheme;
}

void AddByType(ordered_json& json, const FullSms& sms)
{
    if (sms.messageReference)
        json["reference"] = *sms.messageReference;
    if (sms.type == SmsType::Submit)
        json["validity"] = {{"format", sms.validity.format}, {"text", sms.validity.text}};
    if (sms.type == SmsType::StatusReport && sms.dischargeTimeValid)
        json["dischargeTime"] = IsoText(sms.dischargeTime);
    if (sms.reportStatus)
        json["reportStatus"] = {{"value", *sms.reportStatus}, {"meaning", ReportStatusName(*sms.reportStatus)}};
}

void AddConcatenation(ordered_json& json, const JoinedSms& joined, const FullSmsView& view)
{
    if (!joined.concatenated)
        return;
    const ConcatenationPart& part = *view.head.userData.concatenation;
    json["parts"] = view.records;
    json["missing"] = joined.missing;
    json["concatenation"] = {
        {"reference", part.reference}, {"referenceBits", part.sixteenBitReference ? 16 : 8}, {"total", part.total}};
}

ordered_json MessageJson(const SmsMessages& messages, const JoinedSms& joined)
{
    const FullSmsView view = ViewOf(messages, joined);
    const FullSms& sms = view.head;
    ordered_json json;
    json["record"] = view.record;
    json["status"] = SmsStatusName(sms.statusByte);
    json["type"] = SmsTypeName(sms.type);
    json["serviceCentre"] = sms.serviceCentre.text;
    json["address"] = sms.address.text;
    if (const std::string time = TimestampText(sms); !time.empty())
        json["timestamp"] = time;
    json["alphabet"] = AlphabetName(sms.coding.alphabet);
    json["text"] = joined.text;
    json["deleted"] = sms.deleted;
    AddConcatenation(json, joined, view);
    AddCoding(json, sms);
    AddByType(json, sms);
    if (!view.error.empty())
        json["error"] = "decoding stopped at the " + view.error;
    return json;
}

} // namespace

ordered_json SmsJson(const SmsMessages& messages)
{
    ordered_json json;
    json["file"] = "6F3C";
    json["state"] = FileStateName(messages.state);
    json["recordLength"] = messages.recordLength;
    json["recordCount"] = messages.recordCount;
    json["messages"] = ordered_json::array();
    for (const JoinedSms& joined : messages.messages)
        json["messages"].push_back(MessageJson(messages, joined));
    return json;
}
