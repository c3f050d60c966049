#include "demo/DemoData.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace pagetap::demo {
namespace {

// Ordinary user i is named from adjective i % 16 and noun (i + i / 16) % 6: users who share
// an adjective get different nouns, so no two names clash.
constexpr std::size_t kOrdinaryUsers = 96;
constexpr std::array<const char*, 16> kAdjectives = {
    "Amber", "Brisk", "Cosmic", "Dusty", "Electric", "Foggy", "Golden", "Hidden",
    "Icy",   "Jolly", "Lucky",  "Misty", "Neon",     "Quiet", "Rusty",  "Sunny"};
constexpr std::array<const char*, 6> kNouns = {"Fox",   "Panda",   "Otter",
                                               "Comet", "Lantern", "Maple"};
constexpr std::array<const char*, 16> kChineseAdjectives = {
    "快乐的", "安静的", "勇敢的", "迷路的", "会飞的", "爱笑的", "贪吃的", "认真的",
    "懒懒的", "酷酷的", "温柔的", "调皮的", "小小的", "闪亮的", "神秘的", "倔强的"};
constexpr std::array<const char*, 6> kChineseNouns = {"熊猫", "橘猫", "狐狸",
                                                      "兔子", "月亮", "火锅"};

// The nicknames that trip clients up, spread through the list.
constexpr std::array<const char*, 16> kAwkwardNicknames = {
    "小龙虾爱好者",    // CJK
    "夜猫子🦉",   // an emoji outside the Basic Multilingual Plane
    "さくら🌸",         // kana and an emoji
    "Double Feature",  // listed twice, with two of its videos
    "🎮 gamer",         // an emoji and a space
    "한글 닉네임",     // Hangul and a space
    "Tom & Jerry",     // "&" ends a query parameter unless encoded
    "C++ Fan",         // "+" reads as a space unless encoded
    "100% real",       // "%" starts an escape
    "%41%42C",         // looks encoded already, and must arrive as typed
    "MoonRiver",       // and
    "moonriver",       // differ only in case
    "Night Owl",       // and
    "Night Owl ",      // differ by a trailing space
    "say \"hi\"",      // needs JSON escapes
    "back\\slash",     // needs JSON escapes
};
constexpr std::size_t kAwkwardEvery = 7;  // one awkward user at every 7th place from place 3
constexpr std::size_t kListedTwice = 3;   // "Double Feature", at place 24
constexpr std::size_t kSecondListingPlace = 75;

// Users who join the list on a later request, so that a second fetch has something new.
struct Newcomer {
  const char* nickname;
  int first_request;
};
constexpr std::array<Newcomer, 6> kNewcomers = {{{"新人小王", 2},
                                                 {"Fresh Start", 2},
                                                 {"🌱 newbie", 2},
                                                 {"LateBloomer", 3},
                                                 {"刚来的", 3},
                                                 {"Second Wave", 3}}};

// Places in the base list with something odd about their element.
constexpr std::size_t kWithoutScreenshotPlace = 41;
struct NullPlace {
  std::size_t place;
  std::array<const char*, 2> keys;
};
constexpr std::array<NullPlace, 4> kNullPlaces = {{{7, {"mood", "user_intro"}},
                                                   {22, {"avatar", nullptr}},
                                                   {63, {"video_desc", "s_receive"}},
                                                   {88, {"liked", "video_duration"}}}};
constexpr std::array<std::size_t, 3> kMissingPicturePlaces = {13, 57, 96};
constexpr std::array<std::size_t, 2> kHtmlPicturePlaces = {30, 79};

constexpr std::array<const char*, 16> kIntros = {"sunset over the bay",
                                                 "morning run, 5 km",
                                                 "my cat vs. the vacuum",
                                                 "first snow this year",
                                                 "night market food",
                                                 "learning to skateboard",
                                                 "rain on the window",
                                                 "homemade dumplings",
                                                 "我家猫咪第一次见雪",
                                                 "周末去爬山",
                                                 "红烧肉教程",
                                                 "地铁上的日落",
                                                 "弹吉他《晴天》",
                                                 "广场舞",
                                                 "下雨天的窗户",
                                                 "第一次做饺子"};
constexpr std::array<const char*, 6> kDescTails = {
    " - shot on a phone, no filter", " / 记录一下", " & more tomorrow", "", " (part 2)", " 😂😂"};
constexpr std::array<const char*, 6> kUserIntros = {
    "just for fun", "记录生活", "📷 daily clips", "", "hello & welcome", "cats, food, 旅行"};
constexpr std::array<const char*, 6> kMoods = {"😊", "busy", "开心", "tired", "🎉", ""};

// Most videos of the users' own pages have pictures; about one in twenty does not.
bool MissingByRule(int number) { return number % 41 == 7; }
bool HtmlByRule(int number) { return number % 43 == 11; }

// splitmix64: spreads small seeds into well-mixed bits.
std::uint64_t Mix(std::uint64_t seed) {
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

template <typename Table>
const char* Pick(const Table& table, std::uint64_t bits) {
  return table[bits % table.size()];
}

std::string ReleaseTime(int day, std::uint64_t bits) {
  using namespace std::chrono;
  const year_month_day date{sys_days{year{2024} / June / 30} - days{day}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<unsigned>(bits % 24), static_cast<unsigned>((bits >> 5) % 60),
                static_cast<unsigned>((bits >> 11) % 60));
  return text;
}

DemoVideo MakeVideo(int number, int day) {
  const std::uint64_t bits = Mix(0x5EED0000ULL + static_cast<std::uint64_t>(number));
  DemoVideo video;
  video.number = number;
  video.blog_id = std::to_string(7'100'000 + number);
  video.video_id = std::to_string(880'000'000ULL + static_cast<std::uint64_t>(number) * 7919);
  video.intro = Pick(kIntros, bits);
  video.desc = video.intro + Pick(kDescTails, bits >> 8);
  video.release_time = ReleaseTime(day, bits >> 12);
  video.duration = std::to_string(8 + (bits >> 32) % 290);
  video.receive = std::to_string((bits >> 44) % 5000);
  video.day = day;
  return video;
}

std::string OrdinaryNickname(std::size_t i) {
  const std::size_t noun = (i + i / 16) % 6;
  if (i % 3 == 1) return std::string(kChineseAdjectives[i % 16]) + kChineseNouns[noun];
  std::string nickname = std::string(kAdjectives[i % 16]) + kNouns[noun];
  if (i % 4 == 2) nickname += std::to_string(1990 + i % 30);
  return nickname;
}

}  // namespace

DemoData::DemoData() {
  std::size_t ordinary = 0;
  std::size_t awkward = 0;
  std::size_t listed_twice = 0;
  while (ordinary < kOrdinaryUsers || awkward < kAwkwardNicknames.size()) {
    const std::size_t place = m_top_list.size();
    const bool awkward_turn = place % kAwkwardEvery == 3 || ordinary == kOrdinaryUsers;
    std::size_t user = 0;
    if (awkward_turn && awkward < kAwkwardNicknames.size()) {
      user = AddUser(kAwkwardNicknames[awkward]);
      if (awkward++ == kListedTwice) listed_twice = user;
    } else {
      user = AddUser(OrdinaryNickname(ordinary++));
    }
    m_top_list.push_back({user, 0, 1, false, {}});
  }
  // Further down the list the same user comes again, with its next video.
  m_top_list.insert(m_top_list.begin() + kSecondListingPlace, {listed_twice, 1, 1, false, {}});

  m_top_list[kWithoutScreenshotPlace].without_screenshot = true;
  for (const NullPlace& nulls : kNullPlaces) {
    for (const char* key : nulls.keys) {
      if (key) m_top_list[nulls.place].null_keys.emplace_back(key);
    }
  }
  for (const std::size_t place : kMissingPicturePlaces) {
    const TopEntry& entry = m_top_list[place];
    m_users[entry.user].videos[entry.video].picture = PictureAnswer::Missing;
  }
  for (const std::size_t place : kHtmlPicturePlaces) {
    const TopEntry& entry = m_top_list[place];
    m_users[entry.user].videos[entry.video].picture = PictureAnswer::HtmlPage;
  }

  for (const Newcomer& newcomer : kNewcomers) {
    m_top_list.push_back({AddUser(newcomer.nickname), 0, newcomer.first_request, false, {}});
  }
  Index();
}

std::size_t DemoData::AddUser(const std::string& nickname) {
  const std::size_t index = m_users.size();
  const std::uint64_t bits = Mix(index + 1);
  DemoUser user;
  user.user_id = std::to_string(10'001'000 + index * 13);
  user.username = "u" + user.user_id;
  user.nickname = nickname;
  user.user_intro = Pick(kUserIntros, bits);
  user.mood = Pick(kMoods, bits >> 4);
  user.liked = std::to_string((bits >> 8) % 2000);

  // The first page holds at least two videos, so that a user listed twice finds both there.
  const std::size_t pages = 1 + (bits >> 20) % 6;
  std::size_t count = 0;
  for (std::size_t page = 0; page < pages; ++page) {
    count += page == 0 ? 2 + (bits >> 24) % 4 : 1 + Mix(bits + page) % 5;
    user.page_ends.push_back(count);
  }
  int day = static_cast<int>((bits >> 28) % 5);
  for (std::size_t i = 0; i < count; ++i) {
    DemoVideo video = MakeVideo(m_next_video_number++, day);
    if (i > 0 && MissingByRule(video.number)) video.picture = PictureAnswer::Missing;
    if (i > 0 && HtmlByRule(video.number)) video.picture = PictureAnswer::HtmlPage;
    user.videos.push_back(std::move(video));
    day += Mix(bits ^ i) % 3 == 0 ? 0 : 1;
  }
  user.empty_day_on_last_page = index % 19 == 4;
  m_users.push_back(std::move(user));
  return index;
}

void DemoData::Index() {
  for (std::size_t u = 0; u < m_users.size(); ++u) {
    m_by_nickname.emplace(m_users[u].nickname, u);
    for (std::size_t v = 0; v < m_users[u].videos.size(); ++v) {
      m_by_blog_id.emplace(m_users[u].videos[v].blog_id, std::pair{u, v});
    }
  }
}

const DemoUser* DemoData::FindUser(const std::string& nickname) const {
  const auto found = m_by_nickname.find(nickname);
  return found == m_by_nickname.end() ? nullptr : &m_users[found->second];
}

std::optional<DemoData::VideoPlace> DemoData::FindVideo(const std::string& blog_id) const {
  const auto found = m_by_blog_id.find(blog_id);
  if (found == m_by_blog_id.end()) return std::nullopt;
  const DemoUser& user = m_users[found->second.first];
  return VideoPlace{&user, &user.videos[found->second.second]};
}

}  // namespace pagetap::demo
