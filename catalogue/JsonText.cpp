#include "catalogue/JsonText.h"

#include "platform/Limits.h"

#include <json/reader.h>
#include <malloc.h>

#include <charconv>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>

namespace {

// A document of this size may parse into tens of megabytes.
constexpr std::size_t kTrimAfterBytes = 256 * 1024;
thread_local bool large_document_parsed = false;

// The classic reader's rules: comments and text after the root are let through, a trailing
// comma or a leading byte-order mark is not.
const Json::CharReaderBuilder& ReaderSettings() {
  static const Json::CharReaderBuilder builder = [] {
    Json::CharReaderBuilder settings;
    settings["allowTrailingCommas"] = false;
    settings["skipBom"] = false;
    settings["stackLimit"] = kMaxJsonNesting;
    return settings;
  }();
  return builder;
}

// Integers exactly; other numbers as the shortest text that reads back as the same double
// (12.0 -> "12", 1.50 -> "1.5", 0.1 -> "0.1", 1e21 -> "1e+21").
bool NumberText(const Json::Value& value, std::string& field) {
  if (value.type() != Json::realValue) {
    field = value.asString();
    return true;
  }
  char digits[32];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value.asDouble());
  if (error != std::errc()) return false;
  field.assign(digits, end);
  return true;
}

}  // namespace

bool WithDocument(const std::string& text, const std::function<void(const Json::Value&)>& use) {
  if (text.empty()) return false;
  static std::mutex one_document;
  std::lock_guard lock(one_document);
  // Each worker thread allocates from a malloc arena of its own, which would keep the peak of
  // the largest tree it ever built.
  if (text.size() >= kTrimAfterBytes) large_document_parsed = true;
  Json::Value root;
  try {
    const std::unique_ptr<Json::CharReader> reader(ReaderSettings().newCharReader());
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return false;
  } catch (const std::exception&) {
    // Json::Exception (the nesting limit, for one) derives from std::exception.
    return false;
  }
  use(root);
  return true;
}

void ReturnDocumentMemory() {
  if (!large_document_parsed) return;
  large_document_parsed = false;
  malloc_trim(0);
}

bool ReadText(const Json::Value& object, const char* key, std::string& field) {
  if (!object.isObject()) return false;
  const Json::Value* value = object.find(key, key + std::strlen(key));
  if (!value) return false;
  switch (value->type()) {
    case Json::stringValue:
      field = value->asString();
      return true;
    case Json::booleanValue:
      field = value->asBool() ? "true" : "false";
      return true;
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
      return NumberText(*value, field);
    default:
      return false;
  }
}
