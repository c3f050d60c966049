#pragma once

#include <string>

// libcurl's percent-encoding: keeps A-Z a-z 0-9 - . _ ~, writes every other byte as %XX.
std::string EscapeText(const std::string& text);
