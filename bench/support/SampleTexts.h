#pragma once

// What the benches send: web pages in UTF-8 and in code page 936, a top list whose pictures are
// on a bench server, and picture files. Every text is made afresh from a fixed recipe, so two
// runs measure the same bytes.

#include <cstddef>
#include <string>

namespace pagetap::bench {

// An HTML page of exactly `bytes` bytes: Chinese paragraphs with ASCII markup and words, one
// per line, and a "charset=" declaration near the top that DecodeResponseText reads.
std::string Utf8Page(std::size_t bytes);
// The same kind of page in code page 936, declared as "gb2312".
std::string Cp936Page(std::size_t bytes);

// A weekly top list of `users` users, each with one video whose screenshot address lies on
// `base` under /shots/, so that its picture address (the first 72 bytes and "mov.3in1.jpg")
// does too.
std::string PictureTopList(const std::string& base, int users);
inline constexpr const char* kShotsPattern = "/shots/.*";

// `bytes` bytes of a picture file: a JPEG start marker followed by incompressible filler. The
// benches that use it store pictures, they never decode them.
std::string PictureFile(std::size_t bytes);

}  // namespace pagetap::bench
