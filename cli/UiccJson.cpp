#include "UiccJson.h"

#include "ContentWords.h"
#include "FullJson.h"
#include "FullSmsJson.h"
#include "HexText.h"
#include "UiccWords.h"

namespace {

using nlohmann::ordered_json;

template <typename T>
ordered_json OrNull(const std::optional<T>& value)
{
    return value ? ordered_json(*value) : ordered_json();
}

// A file identifier as hex, or null where the phone book names no file.
ordered_json FileIdJson(uint16_t fileId)
{
    return fileId != 0 ? ordered_json(FileIdText(fileId)) : ordered_json();
}

ordered_json PinJson(const UiccPin& pin)
{
    return {{"keyReference", pin.keyReference},
            {"enabled", OrNull(pin.enabled)},
            {"triesLeft", OrNull(pin.triesLeft)},
            {"unblockTriesLeft", OrNull(pin.unblockTriesLeft)},
            {"verified", pin.verified}};
}

ordered_json ProblemJson(const EntryProblem& problem)
{
    ordered_json json;
    json["kind"] = EntryProblemName(problem.kind);
    json["file"] = PhoneBookFileName(problem.file);
    json["fileId"] = FileIdJson(problem.fileId);
    json["record"] = problem.record;
    if (problem.kind == EntryProblemKind::ExtensionChain)
        json["extension"] = ExtensionStateName(problem.extension);
    return json;
}

ordered_json EntryJson(const UsimPhoneBookEntry& entry)
{
    ordered_json json;
    json["entry"] = entry.entry;
    json["set"] = entry.set;
    json["record"] = entry.record;
    json["name"] = entry.name;
    json["number"] = entry.number;
    json["additionalNumbers"] = ordered_json::array();
    for (const AdditionalNumber& number : entry.additionalNumbers)
        json["additionalNumbers"].push_back({{"number", number.number}, {"label", number.label}});
    json["emails"] = entry.emails;
    json["secondName"] = entry.secondName;
    json["groups"] = entry.groups;
    json["hidden"] = entry.hidden;
    if (!entry.problems.empty()) {
        json["problems"] = ordered_json::array();
        for (const EntryProblem& problem : entry.problems)
            json["problems"].push_back(ProblemJson(problem));
    }
    return json;
}

ordered_json SetProblemJson(const SetProblem& problem)
{
    return {{"set", problem.set},
            {"kind", SetProblemName(problem.kind)},
            {"file", PhoneBookFileName(problem.file)},
            {"fileId", FileIdJson(problem.fileId)}};
}

} // namespace

ordered_json ApplicationsJson(const UiccContent& uicc)
{
    ordered_json json;
    json["state"] = FileStateName(uicc.dirState);
    json["records"] = ordered_json::array();
    for (const UiccApplication& application : uicc.applications)
        json["records"].push_back({{"record", application.record},
                                   {"aid", HexText(application.aid)},
                                   {"label", application.label},
                                   {"usim", application.usim}});
    return json;
}

ordered_json UsimPhoneBookJson(const char* scope, const UsimPhoneBookContent& book)
{
    ordered_json json;
    json["scope"] = scope;
    json["state"] = FileStateName(book.state);
    json["fromPbr"] = book.fromPbr;
    json["setCount"] = book.setCount;
    json["entries"] = ordered_json::array();
    for (const UsimPhoneBookEntry& entry : book.book.entries)
        json["entries"].push_back(EntryJson(entry));
    json["problems"] = ordered_json::array();
    for (const SetProblem& problem : book.book.problems)
        json["problems"].push_back(SetProblemJson(problem));
    return json;
}

ordered_json UsimJson(const UiccContent& uicc)
{
    const UiccApplication* usim = uicc.FirstUsim();
    ordered_json json;
    json["selected"] = uicc.usimSelected;
    json["aid"] = usim ? HexText(usim->aid) : "";
    json["label"] = usim ? usim->label : "";
    json["iccidState"] = FileStateName(uicc.iccidState);
    json["iccid"] = uicc.iccid;
    json["imsiState"] = FileStateName(uicc.imsiState);
    json["imsi"] = uicc.imsi;
    json["pin1"] = PinJson(uicc.pin1);
    json["pin2"] = PinJson(uicc.pin2);
    json["fdnEnabled"] = OrNull(uicc.fdnEnabled);
    json["localPhoneBookService"] = OrNull(uicc.localPhoneBookService);
    json["msisdn"] = PhoneBookJson(uicc.msisdn);
    json["fdn"] = PhoneBookJson(uicc.fdn);
    json["sdn"] = PhoneBookJson(uicc.sdn);
    json["spn"] = ServiceProviderJson(uicc.spnState, uicc.spn);
    json["sms"] = SmsJson(uicc.sms);
    json["phoneBooks"] = ordered_json::array({UsimPhoneBookJson("global", uicc.globalPhoneBook)});
    if (uicc.HasLocalPhoneBook())
        json["phoneBooks"].push_back(UsimPhoneBookJson("local", uicc.localPhoneBook));
    return json;
}
