#pragma once

// Reading the video service's JSON responses, which are expected to carry text values.

#include <json/value.h>

#include <functional>
#include <string>

// Parses the whole text as one JSON document and hands it to `use`. False, and `use` not called,
// when the text is empty or malformed, nests deeper than the reader allows, or the reader fails
// in any other way. The parsed tree of a document of tiny values takes some fifty times the
// text's size, so one document at a time is parsed and used, whatever the workers.
bool WithDocument(const std::string& text, const std::function<void(const Json::Value&)>& use);

// The tree of a large document leaves its memory free in the thread's own malloc arena, where
// the tree of the next page reuses it. This gives that memory back to the system; a worker
// calls it once its fetch is done.
void ReturnDocumentMemory();

// Reads member `key` of `object` into `field` when it is present: a string gives its bytes, a
// boolean "true" or "false", a number its JSON text. A missing or null member, an array or an
// object counts as absent and leaves `field` as it was. Returns whether it read.
bool ReadText(const Json::Value& object, const char* key, std::string& field);

// Calls `visit` with each element of the array member `key` of `parent` that is an object, in
// order. Nothing when `parent` is no object or the member is no array; other elements are passed
// over.
template <typename Visit>
void ForEachObjectIn(const Json::Value& parent, const char* key, Visit visit) {
  if (!parent.isObject()) return;
  const Json::Value& elements = parent[key];
  if (!elements.isArray()) return;
  for (Json::ArrayIndex i = 0; i < elements.size(); ++i) {
    if (elements[i].isObject()) visit(elements[i]);
  }
}
