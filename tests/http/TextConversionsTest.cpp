#include "http/TextConversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";
const std::u16string kChinese = u"\u4E2D\u6587";

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

std::u16string FromUtf8(const std::string& text) {
  std::u16string out = u"stale";
  Utf8ToWide(text, out);
  return out;
}

std::u16string FromGbk(const std::string& text) {
  std::u16string out = u"stale";
  GbkToWide(text, out);
  return out;
}

TEST(TextConversionsTest, Utf8ReadsCharactersAndReplacesEachBadByte) {
  EXPECT_EQ(FromUtf8(kChineseUtf8), kChinese);
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFD"
            u"b");
  EXPECT_EQ(FromUtf8("\xE4\xB8"
                     "b" +
                     kChineseUtf8),
            u"\uFFFD\uFFFD"
            u"b" +
                kChinese);
  EXPECT_EQ(FromUtf8("a\xE4\xB8"), u"a\uFFFD\uFFFD");
  // Past U+FFFF a character is a surrogate pair.
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80!"), u"\xD83D\xDE00!");
}

TEST(TextConversionsTest, GbkReadsCharactersAndReplacesBadBytesWithQuestionMarks) {
  EXPECT_EQ(FromGbk(kChineseGbk), kChinese);
  EXPECT_EQ(FromGbk("a\xFF"
                    "b" +
                    kChineseGbk),
            u"a?b" + kChinese);
  EXPECT_EQ(FromGbk("\x81 x"), u"? x");
  EXPECT_EQ(FromGbk("a\xD6"), u"a?");
}

// Long texts are converted piece by piece; characters and bad bytes fall on every side of the
// pieces' edges, and the text replaces what the string held.
TEST(TextConversionsTest, LongTextsConvertWhole) {
  std::string utf8;
  std::string gbk;
  std::u16string expected_utf8;
  std::u16string expected_gbk;
  std::string expected_ansi;
  for (int i = 0; i < 5000; ++i) {
    utf8 += "a" + kChineseUtf8 + (i % 7 == 0 ? "\xFF" : "");
    gbk += "a" + kChineseGbk + (i % 7 == 0 ? "\xFF" : "");
    expected_utf8 += u"a" + kChinese + (i % 7 == 0 ? u"\uFFFD" : u"");
    expected_gbk += u"a" + kChinese + (i % 7 == 0 ? u"?" : u"");
    expected_ansi += "a" + kChineseUtf8 + (i % 7 == 0 ? "?" : "");
  }
  std::u16string out = std::u16string(100000, u'x');
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

  EXPECT_EQ(FromUtf8(""), u"");
  EXPECT_EQ(FromGbk(""), u"");
  EXPECT_EQ(AnsiToWide(""), u"");
  EXPECT_EQ(FromUtf8(std::string(1, '\0')), u"");
}

TEST(TextConversionsTest, AnsiFollowsAUtf8Locale) {
  const LocaleGuard locale("C.UTF-8");
  ASSERT_TRUE(locale.Switched());
  EXPECT_EQ(AnsiToWide(kChineseUtf8), kChinese);
  EXPECT_EQ(AnsiToWide("a\xFF"
                       "b"),
            u"a?b");

  const std::u16string form = u" http://x/?q=" + kChinese + u" ";
  EXPECT_EQ(WideToAnsi(form), " http://x/?q=" + kChineseUtf8 + " ");
  EXPECT_EQ(AnsiToWide(WideToAnsi(form)), form);
  EXPECT_EQ(WideToAnsi(u""), "");
  EXPECT_EQ(WideToAnsi(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToAnsi(u"a\xD83D"
                       u"b\xDE00"),
            "a?b?");  // halves of a pair, each alone
}

TEST(TextConversionsTest, AnsiFollowsTheAsciiOnlyCLocale) {
  const LocaleGuard locale("C");
  ASSERT_TRUE(locale.Switched());
  EXPECT_EQ(AnsiToWide("a" + kChineseUtf8 + "b"), u"a??????b");
  EXPECT_EQ(WideToAnsi(u"a" + kChinese + u"b"), "a??b");
  EXPECT_EQ(WideToAnsi(u"a\U0001F600b"), "a?b");  // one character, though two units
}

}  // namespace
