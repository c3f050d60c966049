#pragma once

// Turns the workbench's response bytes and trace into the text the result box shows.

#include <string>

// The trace first, in the ANSI code page, then the body in the code page a "charset="
// declaration inside it names: UTF-8, code page 936 for any other name, or the ANSI code page
// when there is no usable declaration. An empty body gives "未收到任何信息!".
std::u16string DecodeResponse(const std::string& body, const std::string& trace);
