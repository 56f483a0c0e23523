#pragma once
// Conversions between the wide strings of the plug-in side and the UTF-8
// strings of the Linux side. A byte that is not UTF-8 comes through as the
// Latin-1 character of the same value (the policy of common/utf8.h).
#include <string>
#include <string_view>

namespace arxhost {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// A Windows path ('\' or '/' separated, as the plug-in builds them) as a
// native path. Every file-system call of the host and the maker libraries
// goes through this one function.
std::string NativePath(std::wstring_view windowsPath);

}  // namespace arxhost
