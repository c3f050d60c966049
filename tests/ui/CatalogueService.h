#pragma once

// The video service as the catalogue views meet it, on a local test server: a weekly top list
// of 16 users (two newcomers from the second request on), every user's videos over pages of
// four, and a JPEG picture for every video, two flat halves in colours of its own, padded so
// that sizes differ. One user's first screenshot leads to no picture at all.

#include "tests/support/TestServer.h"

#include <QColor>

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace pagetap::test {

// Requests of one kind wait here while it is shut.
class Gate {
 public:
  void Shut();
  void Open();
  void Pass();  // waits while shut, at most 30 s
  std::size_t Waiting() const;

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_opened;
  bool m_open = true;
  std::size_t m_waiting = 0;
};

struct ServedPicture {
  std::string m_bytes;
  QColor m_left;
  QColor m_right;
};

class CatalogueService {
 public:
  static constexpr int kUsers = 16;           // in the first top list
  static constexpr int kBrokenUser = 5;       // whose first picture never comes
  static constexpr int kProlificUser = 0;     // with 22 videos; the others have 5
  static constexpr int kFirstLateVideo = 18;  // the prolific user's videos that wait at LateGate
  static constexpr int kRequestsAtOnce = 96;  // handled at once, those held at gates included

  CatalogueService();
  ~CatalogueService();  // opens every gate, so that no request holds the server
  CatalogueService(const CatalogueService&) = delete;
  CatalogueService& operator=(const CatalogueService&) = delete;

  std::string BaseUrl() const { return m_server.BaseUrl(); }

  static std::string Nickname(int user);
  static std::string BlogId(int user, int video);  // video 0 is the one the top list names
  static int VideoCount(int user);
  const ServedPicture& Picture(int user, int video) const;

  // Requests whose path starts with `prefix`, in the order they were answered.
  std::vector<RecordedRequest> Requests(const std::string& prefix) const;

  Gate& TopListGate() { return m_top_list_gate; }
  Gate& UserPagesGate() { return m_user_pages_gate; }
  Gate& PicturesGate() { return m_pictures_gate; }
  Gate& LateGate() { return m_late_gate; }
  void OpenGates();

 private:
  void ServeTopList(httplib::Response& response);
  void ServeUserPage(const httplib::Request& request, httplib::Response& response);
  void ServePicture(const httplib::Request& request, httplib::Response& response);
  std::string Screenshot(int user, int video) const;

  Gate m_top_list_gate;
  Gate m_user_pages_gate;
  Gate m_pictures_gate;
  Gate m_late_gate;
  std::mutex m_mutex;
  int m_top_list_requests = 0;
  std::map<std::string, std::pair<int, int>> m_pictures_by_blog_id;  // user, video
  std::vector<std::vector<ServedPicture>> m_pictures;                // by user, video
  TestServer m_server;
};

}  // namespace pagetap::test
