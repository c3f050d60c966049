#pragma once

// Narrow bytes from the network or the form into the wide text the window shows, and back.
// Wide text is UTF-16, as Qt holds its own: characters past U+FFFF are surrogate pairs.
// None fails as a whole or keeps state; the three readers stop at the first NUL byte.

#include <string>

// The locale's code set (nl_langinfo(CODESET)) stands in for the system ANSI code page.
std::u16string AnsiToWide(std::string text);
void GbkToWide(const std::string& text, std::u16string& out);  // code page 936
void Utf8ToWide(const std::string& text, std::u16string& out);

// The workbench form's text in the ANSI code page; characters it lacks become '?'.
std::string WideToAnsi(const std::u16string& text);
