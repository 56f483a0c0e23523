#pragma once
// A look at an IGES file before Open CASCADE reads it. Open CASCADE answers
// a missing file and a damaged one alike, and "reads" a file without
// sequence numbers as entities of type 0, so the reasons come from here.
#include <optional>
#include <string>
#include <string_view>

namespace brennic {

// Nothing when the file looks like IGES; otherwise the reason, as words that
// complete "The IGES file "name" ..." (for example L"does not exist").
std::optional<std::wstring> CheckIgesFile(const std::string& nativePath);

// The same verdict on the file's first bytes (head; cutShort when the file
// goes on past them) and its last bytes (tail).
std::optional<std::wstring> CheckIgesText(std::string_view head, bool cutShort, std::string_view tail);

}  // namespace brennic
