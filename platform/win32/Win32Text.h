// Conversions between the UTF-8 of the platform interfaces and the UTF-16 of the wide Win32 calls.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::platform::win32 {

// Invalid sequences become U+FFFD rather than being dropped, so a title never silently loses characters.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

} // namespace quorvane::platform::win32
