#pragma once

#include <cstddef>
#include <string>

namespace pagetap::test {

std::string GzipCompress(const std::string& plain);  // gzip wrapper (RFC 1952)
std::string DeflateCompress(
    const std::string& plain);  // zlib wrapper (RFC 1950), what HTTP calls deflate
// The gzip form of `size` bytes of `byte`, made without holding them: a small body that unpacks
// to far more than it is.
std::string GzipOfRepeats(std::size_t size, char byte);

}  // namespace pagetap::test
