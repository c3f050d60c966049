#include "http/TextConversions.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <memory>
#include <string_view>
#include <type_traits>

namespace {

// glibc's name for the native wchar_t (UTF-32 in host byte order, no BOM).
constexpr const char* kWideCodeSet = "WCHAR_T";

using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, decltype(&iconv_close)>;

// Without a converter (gconv modules missing) keep to plain ASCII, which every code set used here
// shares, and treat anything else as unreadable.
template <typename Out, typename In>
std::basic_string<Out> AsciiOnly(std::basic_string_view<In> in, Out replacement) {
  std::basic_string<Out> out;
  out.reserve(in.size());
  for (In unit : in) {
    const bool ascii = static_cast<std::make_unsigned_t<In>>(unit) < 0x80;
    out.push_back(ascii ? static_cast<Out>(unit) : replacement);
  }
  return out;
}

// Converts `in` from code set `from` to code set `to`. Every input unit iconv cannot read, and
// every character the target lacks, becomes one `replacement` and the conversion goes on with
// the next unit, so a bad byte never takes its neighbours with it. In UTF-8 that means one
// replacement per invalid byte, as Windows does, rather than one per maximal invalid run.
template <typename Out, typename In>
std::basic_string<Out> Transcode(std::basic_string_view<In> in, const char* from, const char* to,
                                 Out replacement) {
  const iconv_t descriptor = iconv_open(to, from);
  if (descriptor == reinterpret_cast<iconv_t>(-1)) {
    return AsciiOnly(in, replacement);
  }
  const IconvHandle cd(descriptor, &iconv_close);

  // A first guess of one output unit per input unit; iconv says E2BIG when it needs more.
  std::basic_string<Out> out(in.size(), Out{});
  std::size_t used = 0;
  char* in_ptr = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
  std::size_t in_left = in.size() * sizeof(In);
  for (;;) {
    char* out_begin = reinterpret_cast<char*>(out.data());
    char* out_ptr = out_begin + used * sizeof(Out);
    std::size_t out_left = (out.size() - used) * sizeof(Out);
    // Once the input is used up, one more call without input ends any shift state.
    const bool flushing = in_left == 0;
    const std::size_t result = flushing ? iconv(cd.get(), nullptr, nullptr, &out_ptr, &out_left)
                                        : iconv(cd.get(), &in_ptr, &in_left, &out_ptr, &out_left);
    used = static_cast<std::size_t>(out_ptr - out_begin) / sizeof(Out);
    const bool failed = result == static_cast<std::size_t>(-1);
    if (failed && errno == E2BIG) {
      out.resize(out.size() * 2 + 8);
    } else if (flushing) {
      break;
    } else if (failed) {
      // EILSEQ (unreadable or unmappable) or EINVAL (cut off at the end): skip one unit.
      in_ptr += sizeof(In);
      in_left -= sizeof(In);
      if (used == out.size()) {
        out.resize(out.size() * 2 + 8);
      }
      out[used++] = replacement;
    }
  }
  out.resize(used);
  return out;
}

// The readers take their input as a C string: everything from the first NUL on is ignored.
std::wstring ReadNarrow(const std::string& text, const char* code_set, wchar_t replacement) {
  return Transcode<wchar_t, char>(std::string_view(text.c_str()), code_set, kWideCodeSet,
                                  replacement);
}

// Asked at every call, so the program's setlocale() is honoured. Should iconv not know the
// name, AsciiOnly stands in.
const char* AnsiCodeSet() {
  return nl_langinfo(CODESET);
}

}  // namespace

std::wstring AnsiToWide(std::string text) {
  return ReadNarrow(text, AnsiCodeSet(), L'?');
}

void GbkToWide(const std::string& text, std::wstring& out) {
  out = ReadNarrow(text, "CP936", L'?');
}

void Utf8ToWide(const std::string& text, std::wstring& out) {
  out = ReadNarrow(text, "UTF-8", L'\uFFFD');
}

std::string WideToAnsi(const std::wstring& text) {
  return Transcode<char, wchar_t>(text, kWideCodeSet, AnsiCodeSet(), '?');
}
