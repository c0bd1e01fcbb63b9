#include "FullJson.h"

#include "ContentWords.h"
#include "FullSmsJson.h"
#include "HexText.h"
#include "UiccJson.h"
#include "UiccWords.h"

namespace {

using nlohmann::ordered_json;

ordered_json RecordJson(const PhoneBookRecord& record)
{
    ordered_json json;
    json["record"] = record.record;
    json["name"] = record.name;
    json["number"] = record.number;
    json["nameCoding"] = AlphaCodingName(record.nameCoding);
    json["tonNpi"] = record.tonNpi;
    if (record.extension.state != ExtensionState::None) {
        ordered_json& extension = json["extension"];
        extension["records"] = record.extension.records;
        extension["state"] = ExtensionStateName(record.extension.state);
        if (record.extension.stoppedAt != 0)
            extension["stoppedAt"] = record.extension.stoppedAt;
    }
    return json;
}

} // namespace

ordered_json PhoneBookJson(const PhoneBook& book)
{
    ordered_json json;
    json["file"] = FileIdText(book.fileId);
    json["state"] = FileStateName(book.state);
    json["recordLength"] = book.recordLength;
    json["recordCount"] = book.recordCount;
    json["records"] = ordered_json::array();
    for (const PhoneBookRecord& record : book.records)
        json["records"].push_back(RecordJson(record));
    return json;
}

ordered_json ServiceProviderJson(const CardContent& content)
{
    return ServiceProviderJson(content.spnState, content.spn);
}

ordered_json ServiceProviderJson(FileState state, const std::optional<ServiceProviderName>& spn)
{
    ordered_json json;
    json["state"] = FileStateName(state);
    if (spn) {
        json["name"] = spn->name.text;
        json["nameCoding"] = AlphaCodingName(spn->name.coding);
        json["displayCondition"] = spn->displayCondition;
        json["networkNameAtHome"] = spn->NetworkNameAtHome();
        json["providerNameWhenRoaming"] = spn->ProviderNameWhenRoaming();
    }
    return json;
}

ordered_json FullJson(const CardContent& content)
{
    ordered_json json;
    if (content.uicc)
        json["cardKind"] = CardKindName(content.kind);
    json["adn"] = PhoneBookJson(content.adn);
    json["fdn"] = PhoneBookJson(content.fdn);
    json["msisdn"] = PhoneBookJson(content.msisdn);
    json["sdn"] = PhoneBookJson(content.sdn);
    json["lnd"] = PhoneBookJson(content.lnd);
    json["spn"] = ServiceProviderJson(content);
    json["sms"] = SmsJson(content.sms);
    if (content.uicc) {
        json["applications"] = ApplicationsJson(*content.uicc);
        json["usim"] = UsimJson(*content.uicc);
    }
    return json;
}
