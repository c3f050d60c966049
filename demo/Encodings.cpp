#include "demo/Encodings.h"

#include <iconv.h>

#define ZLIB_CONST
#include <zlib.h>

namespace pagetap::demo {

std::string GzipCompress(const std::string& plain) {
  z_stream stream{};
  constexpr int kGzipWindowBits = 15 + 16;
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, 8,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    return {};
  }
  // deflateBound covers the whole output, header and trailer included, so one call finishes.
  std::string packed(deflateBound(&stream, static_cast<uLong>(plain.size())), '\0');
  stream.next_in = reinterpret_cast<const Bytef*>(plain.data());
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  const int result = deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return result == Z_STREAM_END ? packed : std::string();
}

std::string Utf8ToGb2312(const std::string& text) {
  const iconv_t converter = iconv_open("GB2312", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in = text;
  std::string out(text.size(), '\0');  // GB2312 never takes more bytes than UTF-8
  char* in_at = in.data();
  std::size_t in_left = in.size();
  char* out_at = out.data();
  std::size_t out_left = out.size();
  const std::size_t result = iconv(converter, &in_at, &in_left, &out_at, &out_left);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace pagetap::demo
