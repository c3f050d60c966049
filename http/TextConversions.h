#pragma once

// Narrow bytes from the network or the form into the wide text the window shows, and back.
// None fails as a whole or keeps state; the three readers stop at the first NUL byte.

#include <string>

// The locale's code set (nl_langinfo(CODESET)) stands in for the system ANSI code page.
std::wstring AnsiToWide(std::string text);
void GbkToWide(const std::string& text, std::wstring& out);  // code page 936
void Utf8ToWide(const std::string& text, std::wstring& out);

// The workbench form's text in the ANSI code page; characters it lacks become '?'.
std::string WideToAnsi(const std::wstring& text);
