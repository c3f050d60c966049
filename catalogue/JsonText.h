#pragma once

// Reading the video service's JSON responses, which are expected to carry text values.

#include <json/value.h>

#include <optional>
#include <string>

// The whole text as one JSON document. nullopt when the text is empty or malformed, nests
// deeper than the reader allows, or the reader fails in any other way.
std::optional<Json::Value> ParseDocument(const std::string& text);

// Reads member `key` of `object` into `field` when it is present: a string gives its bytes, a
// boolean "true" or "false", a number its JSON text. A missing or null member, an array or an
// object counts as absent and leaves `field` as it was. Returns whether it read.
bool ReadText(const Json::Value& object, const char* key, std::string& field);
