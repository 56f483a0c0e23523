#pragma once
// English words for the errno values a file operation meets, independent of
// the process locale (the texts reach the user verbatim).
#include <string>

namespace brennic {

std::wstring ErrnoText(int error);

}  // namespace brennic
