#include "JsonTree.h"

void WriteJsonTree(JsonWriter& writer, const nlohmann::ordered_json& value)
{
    switch (value.type()) {
    case nlohmann::json::value_t::object:
        writer.BeginObject();
        for (const auto& [key, member] : value.items()) {
            writer.Key(key);
            WriteJsonTree(writer, member);
        }
        writer.EndObject();
        break;
    case nlohmann::json::value_t::array:
        writer.BeginArray();
        for (const auto& element : value)
            WriteJsonTree(writer, element);
        writer.EndArray();
        break;
    case nlohmann::json::value_t::string:
        writer.String(value.get_ref<const std::string&>());
        break;
    case nlohmann::json::value_t::boolean:
        writer.Bool(value.get<bool>());
        break;
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
        writer.Number(value.get<long long>());
        break;
    default: // null; the tree holds no floating-point or binary values
        writer.Null();
    }
}
