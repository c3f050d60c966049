#include "http/ResponseText.h"

#include "http/TextConversions.h"

#include <algorithm>

namespace {

constexpr std::string_view kCharset = "charset=";

// The declared charset's name, upper-cased, from "charset=" up to the next double quote
// found two bytes past the equals sign (so an opening quote is skipped); empty when there
// is no such declaration.
std::string DeclaredCharset(const std::string& body) {
  const auto start = body.find(kCharset);
  if (start == std::string::npos) return {};
  const auto quote = body.find('"', start + kCharset.size() + 2);
  if (quote == std::string::npos) return {};
  std::string declaration = body.substr(start, quote - start);
  std::transform(declaration.begin(), declaration.end(), declaration.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  });
  return declaration;
}

}  // namespace

std::u16string DecodeResponse(const std::string& body, const std::string& trace) {
  if (body.empty()) return u"未收到任何信息!";
  std::u16string text;
  const std::string charset = DeclaredCharset(body);
  if (charset.empty()) {
    text = AnsiToWide(body);
  } else if (charset.find("UTF-8") != std::string::npos) {
    Utf8ToWide(body, text);
  } else {
    GbkToWide(body, text);
  }
  if (!trace.empty()) text.insert(0, AnsiToWide(trace));
  return text;
}
