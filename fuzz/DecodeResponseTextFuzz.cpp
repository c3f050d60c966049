// The workbench's result box: a trace line and a response body, both hostile. The input is
// the trace text (a doubled backslash stands for one), a backslash and any other byte, then
// the body.

#include "http/ResponseText.h"
#include "http/Trace.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The ANSI code page follows the locale, as in the program, which takes it from its
  // environment; a fixed one keeps runs repeatable.
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  std::string trace = provider.ConsumeRandomLengthString();
  const std::string body = provider.ConsumeRemainingBytesAsString();

  ClearTraceLog();
  if (!trace.empty()) AppendTrace(nullptr, CURLINFO_TEXT, trace.data(), trace.size(), nullptr);
  const std::u16string text = DecodeResponse(body, TraceLogText());
  if (body.empty()) {
    if (text != u"未收到任何信息!") std::abort();
  } else if (!trace.empty() && !text.starts_with(u"[TEXT]\r\n")) {
    std::abort();  // the trace comes first
  }
  return 0;
}
