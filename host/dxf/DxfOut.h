#pragma once
// Saving a drawing database as an AutoCAD 2010 (AC1024) ASCII DXF file.
#include <string>

class AcDbDatabase;

namespace arxhost::dxf {

// Writes db to nativePath through a temporary file beside it. Returns an
// empty string on success, else a sentence naming the file and the fault;
// then no file is left behind and an existing one is untouched.
std::string SaveAsDxf(const AcDbDatabase& db, const std::string& nativePath);

// The DXF text itself (for tests); throws DxfWriteError.
std::string DxfText(const AcDbDatabase& db);

}  // namespace arxhost::dxf
