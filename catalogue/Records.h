#pragma once

// The records of the catalogue: a user of the weekly top list and the videos known for them.
// Texts are UTF-8 bytes exactly as the JSON parser delivered them; empty when absent.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct UserRecord {
  std::string m_user_id;
  std::string m_username;
  std::string m_nickname;  // the user's identity in the catalogue, compared byte for byte
  std::string m_avatar;
  std::string m_user_intro;
  std::string m_video_num;
  std::string m_mood;
  std::string m_liked;
};

// A screenshot picture's file bytes. Shared and immutable, so that a reader that took them
// keeps a valid block even when a second download replaces them.
using PictureBytes = std::shared_ptr<const std::vector<unsigned char>>;

struct VideoRecord {
  std::string m_video_blog_id;
  std::string m_video_id;
  std::string m_video_release_time;
  std::string m_video_screenshot;
  std::string m_video_3in1_url;  // where the screenshot picture is downloaded from
  std::string m_video_download_address;
  std::string m_video_intro;
  std::string m_video_desc;
  std::string m_video_duration;
  std::string m_s_receive;
  PictureBytes m_picture_data;  // null until downloaded
  std::int32_t m_picture_size = 0;
  std::int32_t m_picture_ready = 0;  // 1 once m_picture_data holds m_picture_size bytes
  std::int32_t m_picture_tries = 5;  // downloads the details view may still start
};

struct UserEntry {
  std::string m_next_cursor;  // empty: no further page of the user's videos
  std::unique_ptr<UserRecord> m_user;
  std::vector<std::unique_ptr<VideoRecord>> m_videos;  // never empty once the entry is listed
  // Every m_video_blog_id of m_videos, so that a long list of videos is searched in one step.
  // The catalogue fills it when it lists the entry.
  std::unordered_set<std::string> m_blog_ids;
};
