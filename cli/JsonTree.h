// Writes a JSON value built with nlohmann-json through JsonWriter, so that a
// part built as a tree gets the same layout as the rest of the document.
#pragma once
#include <nlohmann/json.hpp>

#include "JsonWriter.h"

void WriteJsonTree(JsonWriter& writer, const nlohmann::ordered_json& value);
