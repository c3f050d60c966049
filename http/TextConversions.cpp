#include "http/TextConversions.h"

#include "platform/HugePages.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

// The readers convert through glibc's own UCS-4, which it reaches from any code set in one step
// (UTF-16 takes two), and then split it into UTF-16 themselves: that is twice as fast.
constexpr const char* kCodePointSet = "WCHAR_T";
static_assert(sizeof(wchar_t) == sizeof(char32_t), "WCHAR_T must be UCS-4");
// UTF-16 in host byte order, without a byte order mark: what WideToAnsi reads.
constexpr const char* kWideCodeSet =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// iconv works a piece of this many units at a time. It reads the input a piece at a time too:
// some iconv wrappers (the sanitizers') check all the input they are handed on every call,
// which over a long text would take time quadratic in its length.
constexpr std::size_t kPieceUnits = 4096;

using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, decltype(&iconv_close)>;

// Without a converter (gconv modules missing) keep to plain ASCII, which every code set used here
// shares, and treat anything else as unreadable.
template <typename Out, typename In, typename Emit>
void AsciiOnly(std::basic_string_view<In> in, Out replacement, Emit& emit) {
  for (In unit : in) {
    const bool ascii = static_cast<std::make_unsigned_t<In>>(unit) < 0x80;
    const Out out = ascii ? static_cast<Out>(unit) : replacement;
    emit(&out, 1);
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

// Converts `in` from code set `from` to code set `to`, handing the output to `emit(units,
// count)` a piece at a time. Every input unit iconv cannot read, and every character the target
// lacks, becomes one `replacement` and the conversion goes on with the next unit, so a bad byte
// never takes its neighbours with it. In UTF-8 that means one replacement per invalid byte, as
// Windows does, rather than one per maximal invalid run.
template <typename Out, typename In, typename Emit>
void Transcode(std::basic_string_view<In> in, const char* from, const char* to, Out replacement,
               Emit emit) {
  const iconv_t descriptor = iconv_open(to, from);
  if (descriptor == reinterpret_cast<iconv_t>(-1)) {
    AsciiOnly(in, replacement, emit);
    return;
  }
  const IconvHandle cd(descriptor, &iconv_close);

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
    emit(piece, static_cast<std::size_t>(out_ptr - reinterpret_cast<char*>(piece)) / sizeof(Out));
    if (failed && error == E2BIG) continue;  // the piece is full
    if (flushing) break;
    // A character cut by the end of the piece read goes on in the next one.
    if (failed && error == EINVAL && in_left > chunk) continue;
    if (failed) {
      // EILSEQ (unreadable or unmappable) or EINVAL (cut off at the end): skip one character.
      const std::size_t skipped = UnitsOfCharacter<In>(in_ptr, in_left) * sizeof(In);
      in_ptr += skipped;
      in_left -= skipped;
      emit(&replacement, 1);
    }
  }
}

// Appends code points as UTF-16: past U+FFFF as a surrogate pair, past Unicode's last code
// point as U+FFFD.
void AppendAsUtf16(const wchar_t* points, std::size_t count, std::u16string& out) {
  char16_t units[2 * kPieceUnits];
  std::size_t written = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const auto point = static_cast<char32_t>(points[i]);
    if (point < 0x10000) {
      units[written++] = static_cast<char16_t>(point);
    } else if (point > 0x10FFFF) {
      units[written++] = u'\uFFFD';
    } else {
      const char32_t above = point - 0x10000;
      units[written++] = static_cast<char16_t>(0xD800 + (above >> 10));
      units[written++] = static_cast<char16_t>(0xDC00 + (above & 0x3FF));
    }
    if (written + 2 > std::size(units)) {
      out.append(units, written);
      written = 0;
    }
  }
  out.append(units, written);
}

// The readers take their input as a C string: everything from the first NUL on is ignored. The
// text replaces what `out` held but reuses its room; room for one unit per byte is rarely
// short, and only what the text takes is ever touched.
void ReadNarrow(const std::string& text, const char* code_set, char16_t replacement,
                std::u16string& out) {
  const std::string_view in(text.c_str());
  out.clear();
  out.reserve(in.size());
  AdviseHugePages(out.data(), out.capacity() * sizeof(char16_t));
  Transcode<wchar_t, char>(
      in, code_set, kCodePointSet, static_cast<wchar_t>(replacement),
      [&out](const wchar_t* points, std::size_t count) { AppendAsUtf16(points, count, out); });
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
  out.reserve(text.size());
  Transcode<char, char16_t>(
      std::u16string_view(text), kWideCodeSet, AnsiCodeSet(), '?',
      [&out](const char* bytes, std::size_t count) { out.append(bytes, count); });
  return out;
}
