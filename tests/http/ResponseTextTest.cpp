#include "http/ResponseText.h"
#include "http/Trace.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";
const std::u16string kChinese = u"\u4E2D\u6587";

// The ANSI code page here is the locale's code set; under "C" it is ASCII, so a body read
// in it shows '?' for every byte above 127 and can't be mistaken for a UTF-8 or GBK reading.
// The trace comes from the trace log, as the trace callback wrote it.
class DecodeResponseTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    ClearTraceLog();
  }

  static std::u16string Decode(const std::string& body) {
    return DecodeResponse(body, TraceLogText());
  }

  static void Trace(curl_infotype type, std::string data) {
    AppendTrace(nullptr, type, data.data(), data.size(), nullptr);
  }
};

TEST_F(DecodeResponseTextTest, EmptyBodyGivesTheFixedMessageEvenWithATrace) {
  Trace(CURLINFO_TEXT, "Connected");
  EXPECT_EQ(Decode(""), u"未收到任何信息!");
}

TEST_F(DecodeResponseTextTest, QuotedDeclarationsChooseTheBodysCodePage) {
  EXPECT_EQ(Decode("<meta charset=\"utf-8\">" + kChineseUtf8),
            u"<meta charset=\"utf-8\">" + kChinese)
      << "the search for the closing quote starts past the opening one";
  EXPECT_EQ(Decode("<meta content=\"text/html; charset=gb2312\">" + kChineseGbk),
            u"<meta content=\"text/html; charset=gb2312\">" + kChinese);
  EXPECT_EQ(Decode("<meta charset=\"utf8\">" + kChineseGbk), u"<meta charset=\"utf8\">" + kChinese)
      << "any name but UTF-8 means code page 936";
}

TEST_F(DecodeResponseTextTest, WithoutAUsableDeclarationTheAnsiCodePageReads) {
  EXPECT_EQ(Decode("text/plain; charset=utf-8\n" + kChineseUtf8),
            u"text/plain; charset=utf-8\n??????");
  EXPECT_EQ(Decode("<meta Charset=\"utf-8\">" + kChineseUtf8), u"<meta Charset=\"utf-8\">??????");
  EXPECT_EQ(Decode("<meta charset='utf-8'>" + kChineseUtf8), u"<meta charset='utf-8'>??????");
}

TEST_F(DecodeResponseTextTest, HeaderDeclarationIsFoundFirstAndTheTraceLeads) {
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\n\r\n";
  EXPECT_EQ(
      Decode(head + "<meta charset=\"utf-8\">" + kChineseGbk),
      u"HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\n\r\n<meta charset=\"utf-8\">" +
          kChinese);

  Trace(CURLINFO_TEXT, "Connected");
  Trace(CURLINFO_HEADER_OUT, "GET / HTTP/1.1\r\n\r\n");
  Trace(CURLINFO_HEADER_IN, "HTTP/1.1 200 OK\r\n");
  Trace(CURLINFO_DATA_IN, "ignored");
  EXPECT_EQ(Decode("body"), u"[TEXT]\r\nConnected\r\n[HEADER_OUT]\r\nGET / HTTP/1.1\r\n\r\nbody");
}

TEST_F(DecodeResponseTextTest, TextAfterANulDoesNotReachTheResult) {
  EXPECT_EQ(Decode(std::string("before\0after", 12)), u"before");
  EXPECT_EQ(Decode("<meta charset=\"utf-8\">" + kChineseUtf8 + std::string(1, '\0') + "x"),
            u"<meta charset=\"utf-8\">" + kChinese);
}

}  // namespace
