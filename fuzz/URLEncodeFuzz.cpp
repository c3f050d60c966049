// Percent-encoding of any bytes the form may hold: the result is URL-safe and decodes back
// to the input.

#include "http/URLEncode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int HexValue(char digit) {
  const auto at = HexDigits.find(digit);
  if (at == std::string::npos) std::abort();  // only upper-case hex digits are written
  return static_cast<int>(at);
}

bool Unreserved(char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || std::string("'()*-._").find(byte) != std::string::npos;
}

std::string Decode(const std::string& encoded) {
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      if (!Unreserved(encoded[i])) std::abort();
      decoded += encoded[i];
      continue;
    }
    if (i + 2 >= encoded.size()) std::abort();  // a '%' always has its two digits
    decoded += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
    i += 2;
  }
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CURLEncode encoder;
  const std::string encoded = encoder.Encode(text);
  if (encoded.size() > text.size() * 3 || Decode(encoded) != text) std::abort();
  return 0;
}
