#include "demo/ShotAddress.h"
#include "tests/demo/RunningService.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

using pagetap::test::FetchTopList;
using pagetap::test::Get;
using pagetap::test::PictureByDot;
using pagetap::test::PictureByLength;
using pagetap::test::RunningService;

namespace {

const std::vector<std::string> kUserKeys = {"user_id",    "username",  "nickname", "avatar",
                                            "user_intro", "video_num", "mood",     "liked"};
const std::vector<std::string> kVideoKeys = {"blog_id",    "video_id",           "video_intro",
                                             "video_desc", "video_release_time", "video_duration",
                                             "s_receive"};

std::vector<std::string> Nicknames(const Json::Value& list) {
  std::vector<std::string> nicknames;
  for (const Json::Value& element : list) nicknames.push_back(element["nickname"].asString());
  return nicknames;
}

bool AnyHas(const std::vector<std::string>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& text) { return text.find(part) != std::string::npos; });
}

// UTF-8 lead bytes: 0xE4..0xE9 start the common CJK ideographs, 0xF0 a character beyond the
// Basic Multilingual Plane, where the emoji are.
bool AnyHasLeadByte(const std::vector<std::string>& texts, unsigned char low, unsigned char high) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
    return std::any_of(text.begin(), text.end(), [&](char c) {
      const auto byte = static_cast<unsigned char>(c);
      return byte >= low && byte <= high;
    });
  });
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(DemoTopList, HasEveryKeyAndTheAwkwardCases) {
  RunningService service;
  const Json::Value list = FetchTopList(service);
  EXPECT_GE(list.size(), 100u);

  int without_screenshot = 0;
  int with_null = 0;
  std::set<std::string> blog_ids;
  for (const Json::Value& element : list) {
    ASSERT_TRUE(element.isObject());
    for (const auto& keys : {kUserKeys, kVideoKeys}) {
      for (const std::string& key : keys) {
        EXPECT_TRUE(element.isMember(key)) << key;
        EXPECT_TRUE(element[key].isString() || element[key].isNull()) << key;
        if (element[key].isNull()) ++with_null;
      }
    }
    if (!element.isMember("video_screenshots")) ++without_screenshot;
    EXPECT_TRUE(element["nickname"].isString());
    EXPECT_TRUE(blog_ids.insert(element["blog_id"].asString()).second)
        << "blog id listed twice: " << element["blog_id"].asString();
  }
  EXPECT_EQ(without_screenshot, 1);
  EXPECT_GE(with_null, 1);

  const std::vector<std::string> nicknames = Nicknames(list);
  EXPECT_TRUE(AnyHasLeadByte(nicknames, 0xE4, 0xE9)) << "no CJK nickname";
  EXPECT_TRUE(AnyHasLeadByte(nicknames, 0xF0, 0xF0)) << "no emoji nickname";
  for (const std::string part : {" ", "&", "+", "%"}) {
    EXPECT_TRUE(AnyHas(nicknames, part)) << "no nickname with \"" << part << "\"";
  }

  std::map<std::string, int> listings;
  std::map<std::string, std::set<std::string>> by_lower_case;
  for (const std::string& nickname : nicknames) {
    ++listings[nickname];
    by_lower_case[Lower(nickname)].insert(nickname);
  }
  EXPECT_TRUE(std::any_of(listings.begin(), listings.end(), [](const auto& listing) {
    return listing.second == 2;
  })) << "no nickname listed twice";
  EXPECT_TRUE(std::any_of(by_lower_case.begin(), by_lower_case.end(), [](const auto& group) {
    return group.second.size() > 1;
  })) << "no two nicknames that differ only in case";
  EXPECT_TRUE(std::any_of(nicknames.begin(), nicknames.end(), [&](const std::string& nickname) {
    return listings.count(nickname + " ") > 0;
  })) << "no two nicknames that differ by a trailing space";
}

TEST(DemoTopList, LaterRequestsKeepEveryoneAndBringAFewNewUsers) {
  RunningService service;
  std::set<std::string> known;
  for (int request = 1; request <= 3; ++request) {
    const std::vector<std::string> nicknames = Nicknames(FetchTopList(service));
    const std::set<std::string> listed(nicknames.begin(), nicknames.end());
    EXPECT_TRUE(std::includes(listed.begin(), listed.end(), known.begin(), known.end()))
        << "request " << request << " dropped a user";
    if (request > 1) {
      EXPECT_GE(listed.size() - known.size(), 1u) << "request " << request;
      EXPECT_LE(listed.size() - known.size(), 5u) << "request " << request;
    }
    known = listed;
  }
}

TEST(DemoTopList, BothCutsOfEveryScreenshotAddressGiveOnePictureAddress) {
  RunningService service;
  for (const Json::Value& element : FetchTopList(service)) {
    const std::string screenshot = element["video_screenshots"].asString();
    if (screenshot.empty()) continue;
    EXPECT_EQ(PictureByLength(screenshot), PictureByDot(screenshot)) << screenshot;
    EXPECT_EQ(screenshot.rfind(service.Url("/"), 0), 0u) << screenshot;
  }
}

// Whatever the host and port, the padding puts the 72nd byte on the one "." the second cut
// finds.
TEST(DemoTopList, ScreenshotLayoutFitsShortAndLongBases) {
  for (const std::string base : {"http://a:1", "http://127.0.0.1:8765", "http://[::1]:65535",
                                 "http://255.255.255.255:65535", "http://demo-service-host:80"}) {
    ASSERT_TRUE(pagetap::demo::FitsShotLayout(base, 7)) << base;
    const std::string screenshot = pagetap::demo::ScreenshotAddress(base, "7100042");
    EXPECT_EQ(screenshot[71], '.') << screenshot;
    EXPECT_EQ(PictureByLength(screenshot), PictureByDot(screenshot)) << screenshot;
    EXPECT_EQ(PictureByLength(screenshot), pagetap::demo::PictureAddress(base, "7100042"));
  }
  EXPECT_FALSE(pagetap::demo::FitsShotLayout("http://a.rather.long.host.name.example:8765", 7));
}

// Addresses follow the name the client used; a Host header that can't be used falls back
// to the address the service is bound to.
TEST(DemoTopList, AddressesFollowTheHostTheClientAskedFor) {
  RunningService service;
  httplib::Client client("127.0.0.1", service.Port());
  const std::string path = "/top_video?count=100&relative=after&type=top_week";
  const std::string by_name = "localhost:" + std::to_string(service.Port());
  const std::string too_long = "a.rather.long.host.name.example:" + std::to_string(service.Port());
  for (const auto& [host, base] :
       {std::pair{by_name, "http://" + by_name + "/"}, std::pair{too_long, service.Url("/")}}) {
    const auto result = client.Get(path, {{"Host", host}});
    ASSERT_TRUE(result) << host;
    const auto root = pagetap::test::ParseJson(result->body);
    ASSERT_TRUE(root) << host;
    const std::string screenshot = (*root)["video_list"][0]["video_screenshots"].asString();
    EXPECT_EQ(screenshot.rfind(base, 0), 0u) << screenshot;
    EXPECT_EQ(PictureByLength(screenshot), PictureByDot(screenshot)) << screenshot;
  }
}

TEST(DemoTopList, VideoPagesNameTheVideoAndEscapeTheNickname) {
  RunningService service;
  int pages_with_ampersand = 0;
  for (const Json::Value& element : FetchTopList(service)) {
    const std::string nickname = element["nickname"].asString();
    if (nickname.find('&') == std::string::npos) continue;
    const auto page = Get(service.Url("/video/" + element["blog_id"].asString()));
    EXPECT_EQ(page.status, 200);
    std::string escaped;
    for (const char c : nickname) escaped += c == '&' ? std::string("&amp;") : std::string(1, c);
    EXPECT_NE(page.body.find("by " + escaped), std::string::npos) << page.body;
    EXPECT_NE(
        page.body.find(pagetap::test::PictureByLength(element["video_screenshots"].asString())),
        std::string::npos);
    ++pages_with_ampersand;
  }
  EXPECT_GE(pages_with_ampersand, 1);

  const auto missing = Get(service.Url("/video/0000000"));
  EXPECT_EQ(missing.status, 404);
  EXPECT_NE(missing.body.find("<html>"), std::string::npos);
}

}  // namespace
