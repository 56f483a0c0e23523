#pragma once
// The model and SAT files, written through the host's atomic writer with
// reasons worded for the data-exchange library's messages: the target is
// either the complete new file or untouched. Both kinds are read back at
// once and deleted, so they are not flushed to the disk: nothing needs them
// after a crash.
#include <cstdint>
#include <span>
#include <string>

namespace kelv {

// On failure returns false, removes the temporary file and sets error to
// the reason (strerror text).
bool WriteFileAtomically(const std::string& nativePath, std::span<const uint8_t> bytes, std::string& error);

}  // namespace kelv
