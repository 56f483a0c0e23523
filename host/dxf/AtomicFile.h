#pragma once
// Writes a whole file so that readers see either the old file or the new one,
// never a part: the text goes to a temporary file beside the target, which is
// flushed to disk and then renamed over it.
#include <string>

namespace arxhost::dxf {

// Returns an empty string on success, otherwise a sentence that names the
// file and what went wrong; the target and the folder are left as they were.
std::string WriteFileAtomically(const std::string& nativePath, const std::string& content);

}  // namespace arxhost::dxf
