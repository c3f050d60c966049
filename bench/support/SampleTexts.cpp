#include "bench/support/SampleTexts.h"

#include "tests/support/ServiceDocuments.h"

#include <iconv.h>
#include <json/value.h>

#include <random>
#include <stdexcept>
#include <vector>

namespace pagetap::bench {
namespace {

constexpr std::size_t kScreenshotPrefix = 72;  // the part of the address the picture address keeps
constexpr const char* kPageEnd = "</body></html>\n";

std::string PageHead(const char* charset) {
  return std::string(
             "<!DOCTYPE html>\n<html><head>\n<meta http-equiv=\"Content-Type\" "
             "content=\"text/html; charset=") +
         charset + "\">\n<title>页面 page</title></head><body>\n";
}

// Line n of a page body: about two thirds of its bytes Chinese.
std::string Paragraph(unsigned n) {
  static const char* const kSentences[] = {
      "今天的天气很好，我们一起去公园散步。",
      "这个视频记录了城市夜晚的灯光和人群。",
      "用户上传了新的作品，欢迎大家评论。",
      "春天来了，山上的花都开了，非常漂亮。",
  };
  return "<p id=\"p" + std::to_string(n) + "\">第" + std::to_string(n) + "段：" +
         kSentences[n % 4] + " The quick brown fox, number " + std::to_string(n * 7919 % 10007) +
         ", " + kSentences[(n / 4) % 4] + "</p>\n";
}

// Paragraphs up to `bytes` bytes of UTF-8 after the head.
std::string Utf8Text(const char* charset, std::size_t bytes) {
  std::string page = PageHead(charset);
  for (unsigned n = 0; page.size() < bytes; ++n) page += Paragraph(n);
  return page;
}

// Cuts `text` after its last line that leaves room for the end, then pads it with spaces to
// exactly `bytes` bytes, the end included.
std::string FitTo(std::string text, std::size_t bytes) {
  const std::string end = kPageEnd;
  const std::size_t room = bytes - end.size();
  if (text.size() > room) text.resize(text.rfind('\n', room - 1) + 1);
  text.append(room - text.size(), ' ');
  return text + end;
}

std::string ToCp936(const std::string& utf8) {
  const iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP936");
  std::string out(utf8.size(), '\0');  // never longer than the UTF-8 text
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  const std::size_t result = iconv(cd, &in, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("text not in CP936");
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace

std::string Utf8Page(std::size_t bytes) { return FitTo(Utf8Text("UTF-8", bytes), bytes); }

std::string Cp936Page(std::size_t bytes) {
  // Code page 936 takes two bytes for a character that UTF-8 takes three for.
  return FitTo(ToCp936(Utf8Text("gb2312", bytes * 3 / 2)), bytes);
}

std::string PictureTopList(const std::string& base, int users) {
  std::vector<Json::Value> elements;
  for (int user = 0; user < users; ++user) {
    const std::string id = std::to_string(user);
    std::string prefix = base + "/shots/" + id + "/";
    prefix.resize(kScreenshotPrefix, 'x');
    Json::Value element(Json::objectValue);
    element["user_id"] = id;
    element["username"] = "user" + id;
    element["nickname"] = "用户" + id;
    element["user_intro"] = "我喜欢拍视频 " + id;
    element["video_num"] = "12";
    element["mood"] = "开心";
    element["liked"] = std::to_string(user * 37);
    element["blog_id"] = "blog" + id;
    element["video_id"] = "video" + id;
    element["video_screenshots"] = prefix + "0.jpg";
    element["video_intro"] = "视频简介 " + id;
    element["video_desc"] = "视频描述：城市夜景 " + id;
    element["video_release_time"] = "2024-06-30 12:00:00";
    element["video_duration"] = "62";
    element["s_receive"] = "1";
    elements.push_back(element);
  }
  return pagetap::test::TopListText(elements);
}

std::string PictureFile(std::size_t bytes) {
  std::string file = "\xFF\xD8\xFF\xE0";
  std::mt19937 random(bytes);
  while (file.size() < bytes) file.push_back(static_cast<char>(random()));
  file.resize(bytes);
  return file;
}

}  // namespace pagetap::bench
