#include "http/TextConversions.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

// UTF-16 in host byte order, without a byte order mark.
constexpr const char* kWideCodeSet =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, decltype(&iconv_close)>;

// Without a converter (gconv modules missing) keep to plain ASCII, which every code set used here
// shares, and treat anything else as unreadable.
template <typename Out, typename In>
void AsciiOnly(std::basic_string_view<In> in, Out replacement, std::basic_string<Out>& out) {
  out.reserve(in.size());
  for (In unit : in) {
    const bool ascii = static_cast<std::make_unsigned_t<In>>(unit) < 0x80;
    out.push_back(ascii ? static_cast<Out>(unit) : replacement);
  }
}

// How many input units the character at `at` takes when iconv stops there: one, but for a
// surrogate pair of UTF-16, whose character the target lacks and which becomes one replacement.
template <typename In>
std::size_t UnitsOfCharacter(const char* at, std::size_t bytes_left) {
  if constexpr (std::is_same_v<In, char16_t>) {
    if (bytes_left >= 2 * sizeof(char16_t)) {
      char16_t pair[2];
      std::memcpy(pair, at, sizeof pair);
      if (pair[0] >= 0xD800 && pair[0] < 0xDC00 && pair[1] >= 0xDC00 && pair[1] < 0xE000) return 2;
    }
  }
  return 1;
}

// Converts `in` from code set `from` to code set `to` into `out`, replacing what it held but
// reusing its room. Every input unit iconv cannot read, and every character the target lacks,
// becomes one `replacement` and the conversion goes on with the next unit, so a bad byte never
// takes its neighbours with it. In UTF-8 that means one replacement per invalid byte, as
// Windows does, rather than one per maximal invalid run.
template <typename Out, typename In>
void Transcode(std::basic_string_view<In> in, const char* from, const char* to, Out replacement,
               std::basic_string<Out>& out) {
  out.clear();
  const iconv_t descriptor = iconv_open(to, from);
  if (descriptor == reinterpret_cast<iconv_t>(-1)) {
    AsciiOnly(in, replacement, out);
    return;
  }
  const IconvHandle cd(descriptor, &iconv_close);

  // Room for one output unit per input unit, a guess that is rarely short. iconv writes into a
  // small piece that is appended, so only the room the text takes is ever touched. It reads the
  // input a piece at a time too: some iconv wrappers (the sanitizers') check all the input they
  // are handed on every call, which over a long text would take time quadratic in its length.
  constexpr std::size_t kPieceUnits = 4096;
  out.reserve(in.size());
  Out piece[kPieceUnits];
  char* in_ptr = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
  std::size_t in_left = in.size() * sizeof(In);
  for (;;) {
    char* out_ptr = reinterpret_cast<char*>(piece);
    std::size_t out_left = sizeof piece;
    std::size_t chunk = std::min(in_left, sizeof piece);
    const std::size_t chunk_given = chunk;
    // Once the input is used up, one more call without input ends any shift state.
    const bool flushing = in_left == 0;
    const std::size_t result = flushing ? iconv(cd.get(), nullptr, nullptr, &out_ptr, &out_left)
                                        : iconv(cd.get(), &in_ptr, &chunk, &out_ptr, &out_left);
    const bool failed = result == static_cast<std::size_t>(-1);
    const int error = errno;
    in_left -= chunk_given - chunk;
    out.append(piece,
               static_cast<std::size_t>(out_ptr - reinterpret_cast<char*>(piece)) / sizeof(Out));
    if (failed && error == E2BIG) continue;  // the piece is full
    if (flushing) break;
    // A character cut by the end of the piece read goes on in the next one.
    if (failed && error == EINVAL && in_left > chunk) continue;
    if (failed) {
      // EILSEQ (unreadable or unmappable) or EINVAL (cut off at the end): skip one character.
      const std::size_t skipped = UnitsOfCharacter<In>(in_ptr, in_left) * sizeof(In);
      in_ptr += skipped;
      in_left -= skipped;
      out.push_back(replacement);
    }
  }
}

// The readers take their input as a C string: everything from the first NUL on is ignored.
void ReadNarrow(const std::string& text, const char* code_set, char16_t replacement,
                std::u16string& out) {
  Transcode<char16_t, char>(std::string_view(text.c_str()), code_set, kWideCodeSet, replacement,
                            out);
}

// Asked at every call, so the program's setlocale() is honoured. Should iconv not know the
// name, AsciiOnly stands in.
const char* AnsiCodeSet() { return nl_langinfo(CODESET); }

}  // namespace

std::u16string AnsiToWide(std::string text) {
  std::u16string out;
  ReadNarrow(text, AnsiCodeSet(), u'?', out);
  return out;
}

void GbkToWide(const std::string& text, std::u16string& out) {
  ReadNarrow(text, "CP936", u'?', out);
}

void Utf8ToWide(const std::string& text, std::u16string& out) {
  ReadNarrow(text, "UTF-8", u'\uFFFD', out);
}

std::string WideToAnsi(const std::u16string& text) {
  std::string out;
  Transcode<char, char16_t>(text, kWideCodeSet, AnsiCodeSet(), '?', out);
  return out;
}
