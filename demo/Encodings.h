#pragma once

// The two byte encodings the workbench playground shows off.

#include <string>

namespace pagetap::demo {

// The gzip file format (RFC 1952), as HTTP's "Content-Encoding: gzip" carries it.
std::string GzipCompress(const std::string& plain);

// UTF-8 text in GB2312 bytes; empty if the text holds a character GB2312 lacks.
std::string Utf8ToGb2312(const std::string& text);

}  // namespace pagetap::demo
