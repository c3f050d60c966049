#include "http/Trace.h"

#include <exception>
#include <mutex>
#include <string_view>

namespace {

std::mutex trace_mutex;
std::string trace_log;

// Without memory for a section the trace goes on without it: an exception must not unwind
// through libcurl's C frames.
void AppendSection(std::string_view heading, std::string_view data, std::string_view tail) {
  std::lock_guard lock(trace_mutex);
  try {
    trace_log.append(heading).append(data).append(tail);
  } catch (const std::exception&) {
  }
}

}  // namespace

int AppendTrace(CURL*, curl_infotype type, char* data, std::size_t size, void*) {
  const std::string_view bytes(data, size);
  switch (type) {
    case CURLINFO_TEXT:
      AppendSection("[TEXT]\r\n", bytes, "\r\n");
      break;
    case CURLINFO_HEADER_OUT:
      AppendSection("[HEADER_OUT]\r\n", bytes, "");
      break;
    case CURLINFO_DATA_OUT:
      AppendSection("[DATA_OUT]\r\n", bytes, "\r\n\r\n");
      break;
    default:
      break;
  }
  return 0;
}

void ClearTraceLog() {
  std::lock_guard lock(trace_mutex);
  trace_log.clear();
}

std::string TraceLogText() {
  std::lock_guard lock(trace_mutex);
  return trace_log;
}
