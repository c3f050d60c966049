#include "http/URLEncode.h"

#include <algorithm>

const std::string ReservedChars = "\"<>%\\^[]`+$,@:;/!#?=&";
const std::string HexDigits = "0123456789ABCDEF";

// Only letters, digits and ' ( ) * - . _ survive: the printable range 33..122 minus the reserved
// characters. Bytes above 0x7F are negative as signed char and so are always escaped.
std::string CURLEncode::Encode(std::string text) {
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const char byte : text) {
    const auto value = static_cast<signed char>(byte);
    const bool reserved = ReservedChars.find(byte) != std::string::npos;
    if (!reserved && value >= 33 && value <= 122) {
      encoded += byte;
    } else {
      encoded += '%';
      encoded += Convert(byte, 16);
    }
  }
  return encoded;
}

// The byte's unsigned value in `base` (2..16), at least two digits, most significant first.
std::string CURLEncode::Convert(char value, int base) {
  int number = static_cast<unsigned char>(value);
  std::string digits;
  do {
    digits += HexDigits[static_cast<std::size_t>(number % base)];
    number /= base;
  } while (number > 0);
  if (digits.size() == 1) {
    digits += '0';
  }
  std::reverse(digits.begin(), digits.end());
  return digits;
}
