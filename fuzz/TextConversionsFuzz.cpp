// Network bytes through the three readers: none may fail, and plain ASCII reads the same in
// every code page.

#include "http/TextConversions.h"

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The ANSI code page follows the locale, as in the program; a fixed one keeps runs repeatable.
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::u16string ansi = AnsiToWide(text);
  std::u16string gbk;
  GbkToWide(text, gbk);
  std::u16string utf8;
  Utf8ToWide(text, utf8);

  // Each reader stops at the first NUL, and no byte reads as more than one UTF-16 unit.
  const std::size_t read = std::strlen(text.c_str());
  if (ansi.size() > read || gbk.size() > read || utf8.size() > read) std::abort();

  bool ascii = true;
  for (std::size_t i = 0; i < read; ++i)
    ascii = ascii && static_cast<unsigned char>(text[i]) < 0x80;
  if (ascii) {
    const std::u16string widened(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(read));
    if (ansi != widened || gbk != widened || utf8 != widened) std::abort();
  }
  return 0;
}
