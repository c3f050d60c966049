#pragma once

// The demo service's catalogue: users and their videos, built from fixed tables and a seeded
// hash, so that every run serves the same data. It carries the awkward cases that real data
// has (see DemoData.cpp) and is read-only once built.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pagetap::demo {

// What a video's picture address answers.
enum class PictureAnswer { Jpeg, Missing, HtmlPage };

struct DemoVideo {
  int number = 0;  // unique; seeds the picture
  std::string blog_id;
  std::string video_id;
  std::string intro;
  std::string desc;
  std::string release_time;
  std::string duration;  // seconds
  std::string receive;   // "s_receive"
  int day = 0;           // days before the newest day; the user pages group videos by it
  PictureAnswer picture = PictureAnswer::Jpeg;
};

struct DemoUser {
  std::string user_id;
  std::string username;
  std::string nickname;
  std::string user_intro;
  std::string mood;
  std::string liked;
  std::vector<DemoVideo> videos;        // newest first; the first is the one the top list names
  std::vector<std::size_t> page_ends;   // one past each page's last video; 1 to 6 pages
  bool empty_day_on_last_page = false;  // the last page also lists a day without videos
};

// One element of the weekly top list.
struct TopEntry {
  std::size_t user = 0;
  std::size_t video = 0;               // index into the user's videos
  int first_request = 1;               // listed from this top-list request on (1 = always)
  bool without_screenshot = false;     // the element has no "video_screenshots"
  std::vector<std::string> null_keys;  // keys sent as null
};

class DemoData {
 public:
  DemoData();

  const std::vector<DemoUser>& Users() const { return m_users; }
  const std::vector<TopEntry>& TopList() const { return m_top_list; }

  // Byte for byte, as the client tells its users apart.
  const DemoUser* FindUser(const std::string& nickname) const;

  struct VideoPlace {
    const DemoUser* user;
    const DemoVideo* video;
  };
  std::optional<VideoPlace> FindVideo(const std::string& blog_id) const;

  // Every blog id has this many digits.
  static constexpr std::size_t kBlogIdLength = 7;

 private:
  std::size_t AddUser(const std::string& nickname);
  void Index();

  std::vector<DemoUser> m_users;
  std::vector<TopEntry> m_top_list;
  std::unordered_map<std::string, std::size_t> m_by_nickname;
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> m_by_blog_id;
  int m_next_video_number = 1;
};

}  // namespace pagetap::demo
