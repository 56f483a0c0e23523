#pragma once
// The bytes of the model file the converter has just written, kept for the
// reader that opens the same file next: the 2D import reads back at once
// what it wrote, and the bytes then need not be read from the file again.
// They are handed over only while the file is the very one written (same
// file, size and change times); otherwise the reader reads the file.
#include <cstddef>
#include <string>

namespace kelv::model {

// bytes[offset, end) is what the file at nativePath now holds. Replaces
// what was kept before.
void KeepWrittenModel(const std::string& nativePath, std::string bytes, size_t offset);

// Moves the kept bytes out when they are those of the file at nativePath as
// it stands; true then. Whatever was kept is released either way.
bool TakeWrittenModel(const std::string& nativePath, std::string& bytes, size_t& offset);

void DropWrittenModel();

}  // namespace kelv::model
