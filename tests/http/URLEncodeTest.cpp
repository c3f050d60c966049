#include "http/URLEncode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The only characters a nickname keeps as they are in a URL.
const std::string kUnchanged =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'()*-._";

TEST(URLEncodeTest, EveryByteIsKeptOrEscapedWithTwoUpperCaseDigits) {
  CURLEncode encoder;
  for (int value = 0; value < 256; ++value) {
    const std::string byte(1, static_cast<char>(value));
    std::string expected = byte;
    if (kUnchanged.find(byte) == std::string::npos) {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned>(value));
      expected = escape;
    }
    EXPECT_EQ(encoder.Encode(byte), expected) << "byte " << value;
  }
}

TEST(URLEncodeTest, EncodesTextByteByByte) {
  CURLEncode encoder;
  EXPECT_EQ(encoder.Encode(""), "");
  EXPECT_EQ(encoder.Encode(" "), "%20");
  EXPECT_EQ(encoder.Encode("+"), "%2B");
  EXPECT_EQ(encoder.Encode("%"), "%25");
  EXPECT_EQ(encoder.Encode("~"), "%7E");
  EXPECT_EQ(encoder.Encode("\t"), "%09");
  EXPECT_EQ(encoder.Encode("\xE4\xB8\xAD"), "%E4%B8%AD");
  EXPECT_EQ(encoder.Encode("'()*-._"), "'()*-._");
  EXPECT_EQ(encoder.Encode("a b&c=d\xE6\x96\x87"), "a%20b%26c%3Dd%E6%96%87");
}

TEST(URLEncodeTest, ConvertWritesTwoHexDigitsOfTheUnsignedByte) {
  CURLEncode encoder;
  EXPECT_EQ(encoder.Convert(5, 16), "05");
  EXPECT_EQ(encoder.Convert(32, 16), "20");
  EXPECT_EQ(encoder.Convert(static_cast<char>(0xE4), 16), "E4");
  EXPECT_EQ(encoder.Convert(static_cast<char>(0xFF), 16), "FF");
}

}  // namespace
