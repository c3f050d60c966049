#pragma once

#include <string>

namespace pagetap::test {

std::string GzipCompress(const std::string& plain);     // gzip wrapper (RFC 1952)
std::string DeflateCompress(const std::string& plain);  // zlib wrapper (RFC 1950), what HTTP calls deflate

}  // namespace pagetap::test
