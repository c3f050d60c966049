#include "http/AppendBody.h"

#include "platform/HugePages.h"
#include "platform/Workers.h"

#include <algorithm>
#include <exception>

namespace {

// libcurl takes any other count than the one it passed as the end of the transfer.
constexpr std::size_t kEndTransfer = 0;

// Room for what the response still announces, beside the `arriving` bytes, never past the
// limit. An announcement the memory cannot hold is left to the appends, which take what
// actually arrives.
void ReserveAnnounced(const BodySink& sink, std::size_t arriving) {
  curl_off_t announced = -1;
  curl_off_t received = 0;
  if (curl_easy_getinfo(sink.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK ||
      curl_easy_getinfo(sink.easy, CURLINFO_SIZE_DOWNLOAD_T, &received) != CURLE_OK ||
      announced <= received) {
    return;
  }
  const auto remaining = static_cast<std::size_t>(announced - received);
  try {
    sink.body->reserve(std::min(sink.body->size() + remaining + arriving, sink.limit));
  } catch (const std::exception&) {
  }
}

}  // namespace

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* userdata) {
  const auto& sink = *static_cast<BodySink*>(userdata);
  const std::size_t length = size * count;
  if (length > sink.limit - std::min(sink.limit, sink.body->size()) || ShutdownRequested() ||
      std::chrono::steady_clock::now() > sink.deadline) {
    return kEndTransfer;
  }
  const std::size_t room = sink.body->capacity();
  if (room - sink.body->size() < length) ReserveAnnounced(sink, length);
  try {
    sink.body->append(data, length);
  } catch (const std::exception&) {
    // No memory for more: the transfer ends here with what arrived, as a failed one does; an
    // exception must not unwind through libcurl's C frames.
    return kEndTransfer;
  }
  if (sink.body->capacity() != room) AdviseHugePages(sink.body->data(), sink.body->capacity());
  return length;
}
