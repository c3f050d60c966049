#include "http/TextConversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";
const std::wstring kChinese = L"\u4E2D\u6587";

// Switches the whole process to another locale for one test and back afterwards.
class LocaleGuard {
 public:
  explicit LocaleGuard(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
    m_switched = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleGuard() { std::setlocale(LC_ALL, m_previous.c_str()); }
  LocaleGuard(const LocaleGuard&) = delete;
  LocaleGuard& operator=(const LocaleGuard&) = delete;

  bool Switched() const { return m_switched; }

 private:
  std::string m_previous;
  bool m_switched = false;
};

std::wstring FromUtf8(const std::string& text) {
  std::wstring out = L"stale";
  Utf8ToWide(text, out);
  return out;
}

std::wstring FromGbk(const std::string& text) {
  std::wstring out = L"stale";
  GbkToWide(text, out);
  return out;
}

TEST(TextConversionsTest, Utf8ReadsCharactersAndReplacesEachBadByte) {
  EXPECT_EQ(FromUtf8(kChineseUtf8), kChinese);
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            L"a\uFFFD"
            L"b");
  EXPECT_EQ(FromUtf8("\xE4\xB8"
                     "b" +
                     kChineseUtf8),
            L"\uFFFD\uFFFD"
            L"b" +
                kChinese);
  EXPECT_EQ(FromUtf8("a\xE4\xB8"), L"a\uFFFD\uFFFD");
}

TEST(TextConversionsTest, GbkReadsCharactersAndReplacesBadBytesWithQuestionMarks) {
  EXPECT_EQ(FromGbk(kChineseGbk), kChinese);
  EXPECT_EQ(FromGbk("a\xFF"
                    "b" +
                    kChineseGbk),
            L"a?b" + kChinese);
  EXPECT_EQ(FromGbk("\x81 x"), L"? x");
  EXPECT_EQ(FromGbk("a\xD6"), L"a?");
}

// Long texts are converted piece by piece; characters and bad bytes fall on every side of the
// pieces' edges, and the text replaces what the string held.
TEST(TextConversionsTest, LongTextsConvertWhole) {
  std::string utf8;
  std::string gbk;
  std::wstring expected_utf8;
  std::wstring expected_gbk;
  std::string expected_ansi;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "a" + kChineseUtf8 + (i % 7 == 0 ? "\xFF" : "");
    gbk += "a" + kChineseGbk + (i % 7 == 0 ? "\xFF" : "");
    expected_utf8 += L"a" + kChinese + (i % 7 == 0 ? L"\uFFFD" : L"");
    expected_gbk += L"a" + kChinese + (i % 7 == 0 ? L"?" : L"");
    expected_ansi += "a" + kChineseUtf8 + (i % 7 == 0 ? "?" : "");
  }
  std::wstring out = std::wstring(100000, L'x');
  Utf8ToWide(utf8, out);
  EXPECT_TRUE(out == expected_utf8);
  GbkToWide(gbk, out);
  EXPECT_TRUE(out == expected_gbk);

  const LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Switched());
  EXPECT_TRUE(WideToAnsi(expected_gbk) == expected_ansi);
}

TEST(TextConversionsTest, ReadersStopAtTheFirstNulAndAcceptEmptyInput) {
  const LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Switched());
  const std::string with_nul = kChineseUtf8 + std::string(1, '\0') + "tail";
  EXPECT_EQ(FromUtf8(with_nul), kChinese);
  EXPECT_EQ(AnsiToWide(with_nul), kChinese);
  EXPECT_EQ(FromGbk(kChineseGbk + std::string(1, '\0') + "tail"), kChinese);

  EXPECT_EQ(FromUtf8(""), L"");
  EXPECT_EQ(FromGbk(""), L"");
  EXPECT_EQ(AnsiToWide(""), L"");
  EXPECT_EQ(FromUtf8(std::string(1, '\0')), L"");
}

TEST(TextConversionsTest, AnsiFollowsAUtf8Locale) {
  const LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Switched());
  EXPECT_EQ(AnsiToWide(kChineseUtf8), kChinese);
  EXPECT_EQ(AnsiToWide("a\xFF"
                       "b"),
            L"a?b");

  const std::wstring form = L" http://x/?q=" + kChinese + L" ";
  EXPECT_EQ(WideToAnsi(form), " http://x/?q=" + kChineseUtf8 + " ");
  EXPECT_EQ(AnsiToWide(WideToAnsi(form)), form);
  EXPECT_EQ(WideToAnsi(L""), "");
}

TEST(TextConversionsTest, AnsiFollowsTheAsciiOnlyCLocale) {
  const LocaleGuard locale("C");
  ASSERT_TRUE(locale.Switched());
  EXPECT_EQ(AnsiToWide("a" + kChineseUtf8 + "b"), L"a??????b");
  EXPECT_EQ(WideToAnsi(L"a" + kChinese + L"b"), "a??b");
}

}  // namespace
