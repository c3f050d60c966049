#include "tests/support/Compression.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>

namespace pagetap::test {
namespace {

// window_bits picks the wrapper: 15 is the zlib format, 15 + 16 the gzip format.
std::string Compress(const std::string& plain, int window_bits) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return {};
  }
  // deflateBound covers the whole output, wrapper included, so one deflate call finishes it.
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

}  // namespace

std::string GzipOfRepeats(std::size_t size, char byte) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return {};
  }
  const std::string repeats(1 << 20, byte);
  std::string packed;
  char out[1 << 16];
  int result = Z_OK;
  while (result == Z_OK) {
    const std::size_t piece = std::min(size, repeats.size());
    size -= piece;
    stream.next_in = reinterpret_cast<const Bytef*>(repeats.data());
    stream.avail_in = static_cast<uInt>(piece);
    const int flush = size == 0 ? Z_FINISH : Z_NO_FLUSH;
    do {
      stream.next_out = reinterpret_cast<Bytef*>(out);
      stream.avail_out = sizeof out;
      result = deflate(&stream, flush);
      packed.append(out, sizeof out - stream.avail_out);
    } while (stream.avail_out == 0);
  }
  deflateEnd(&stream);
  return result == Z_STREAM_END ? packed : std::string();
}

std::string GzipCompress(const std::string& plain) { return Compress(plain, 15 + 16); }

std::string DeflateCompress(const std::string& plain) { return Compress(plain, 15); }

}  // namespace pagetap::test
