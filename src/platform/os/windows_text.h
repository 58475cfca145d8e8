#pragma once
// Windows only: UTF-8 and UTF-16 conversions and the system's text for an
// error code, shared by the *_windows.cpp files of the system layer.

#include <string>
#include <string_view>

namespace lw::os::windows {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// FormatMessageW's text for the code, without the trailing line end.
std::string Error_Text(unsigned long code);

} // namespace lw::os::windows
