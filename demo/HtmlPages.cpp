#include "demo/HtmlPages.h"

namespace pagetap::demo {
namespace {

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + EscapeHtml(title) +
         "</title></head>\n<body>\n" + body + "</body></html>\n";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string HomePage() {
  return Page("pagetap demo service",
              "<h1>pagetap demo service</h1>\n"
              "<p>A stand-in for the video service, with made-up data.</p>\n<ul>\n"
              "<li><a href=\"/top_video?count=100&amp;relative=after&amp;type=top_week\">"
              "the weekly top list</a></li>\n"
              "<li>/home_user?day_count=7&amp;relative=after&amp;nickname=NAME[&amp;cursor=C]: "
              "a user's videos, page by page</li>\n"
              "<li>/video/BLOG_ID: a video's page</li>\n</ul>\n"
              "<p>For the request workbench:</p>\n<ul>\n"
              "<li><a href=\"/echo\">/echo</a>: the request as the service saw it</li>\n"
              "<li><a href=\"/cookie/set\">/cookie/set</a>[?name=value]: sets cookies</li>\n"
              "<li><a href=\"/redirect\">/redirect</a>: a 302 with a body of its own</li>\n"
              "<li><a href=\"/gzip\">/gzip</a>: a gzip-encoded body</li>\n"
              "<li><a href=\"/charset/gb2312\">/charset/gb2312</a>: a page in GB2312</li>\n"
              "<li><a href=\"/slow\">/slow</a>[?seconds=N]: one line a second</li>\n</ul>\n");
}

std::string VideoPage(const DemoUser& user, const DemoVideo& video,
                      const std::string& picture_address) {
  return Page(video.intro, "<h1>" + EscapeHtml(video.intro) + "</h1>\n<p>by " +
                               EscapeHtml(user.nickname) + "</p>\n<p><img src=\"" +
                               EscapeHtml(picture_address) +
                               "\" alt=\"three frames\" width=\"480\" height=\"120\"></p>\n<p>" +
                               EscapeHtml(video.desc) + "</p>\n<p>released " + video.release_time +
                               ", " + video.duration + " s, blog " + video.blog_id + "</p>\n");
}

std::string PictureUnavailablePage() {
  return Page("Picture unavailable",
              "<h1>This picture is still being processed</h1>\n<p>Please come back later.</p>\n");
}

std::string ErrorPage(int status) {
  const char* reason = status == 404 ? "Not Found" : status == 400 ? "Bad Request" : "Error";
  const std::string title = std::to_string(status) + " " + reason;
  return Page(title, "<h1>" + EscapeHtml(title) + "</h1>\n");
}

}  // namespace pagetap::demo
