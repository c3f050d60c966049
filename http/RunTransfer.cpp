#include "http/RunTransfer.h"

#include "platform/Workers.h"

#include <memory>

namespace {

// How long a quiet transfer waits before it looks at the shutdown flag again.
constexpr int kShutdownCheckMs = 25;

struct MultiCleanup {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

CURLcode Drive(CURLM* multi, CURL* easy) {
  int running = 1;
  while (running > 0) {
    if (ShutdownRequested()) return CURLE_ABORTED_BY_CALLBACK;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running > 0 && curl_multi_poll(multi, nullptr, 0, kShutdownCheckMs, nullptr) != CURLM_OK) {
      return CURLE_FAILED_INIT;
    }
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

}  // namespace

CURLcode RunTransfer(CURL* easy) {
  if (!easy) return CURLE_FAILED_INIT;
  const std::unique_ptr<CURLM, MultiCleanup> multi(curl_multi_init());
  if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
  const CURLcode result = Drive(multi.get(), easy);
  curl_multi_remove_handle(multi.get(), easy);
  return result;
}
