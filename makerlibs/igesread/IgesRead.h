#pragma once
// An IGES file read into an Open CASCADE reader through the structural
// check, the same way on every import path: refused with the same reason,
// or read from the very parameters the check found (through a corrected
// copy where Open CASCADE would read the file as it stands otherwise).
#include <string>
#include <string_view>

#include <IGESControl_Reader.hxx>

#include "IgesScan.h"

namespace igesread {

// The whole file. On failure returns false with a reason that completes
// "The IGES file '...' ..." (e.g. "does not exist").
bool ReadFileBytes(const std::string& nativePath, std::string& bytes, std::string& reason);

// Checks the file and reads it into reader, which must outlive the model it
// holds. On failure returns false with a reason as above.
bool ReadIgesFile(const std::string& nativePath, IGESControl_Reader& reader, ScanResult& scan, std::string& reason);

// The same for bytes in memory.
bool ReadIgesBytes(std::string_view bytes, IGESControl_Reader& reader, ScanResult& scan, std::string& reason);

}  // namespace igesread
