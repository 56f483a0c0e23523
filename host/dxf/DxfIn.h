#pragma once
// Reading an ASCII DXF file into a drawing database (the host's DXFIN).
// The whole file is read and checked, and every entity built, before the
// database is touched: a file that cannot be read leaves it unchanged.
#include <string>
#include <string_view>

class AcDbDatabase;

namespace arxhost::dxf {

struct DxfInResult {
  std::string error;         // empty on success: a sentence naming the fault
  int entities = 0;          // appended to model and paper space
  int blocks = 0;            // block definitions added
  int skipped = 0;           // entities of kinds the host does not read
};

// Reads the file at nativePath into db's model space (paper-space entities
// into paper space). Layers, linetypes, text and dimension styles and blocks
// that db already has keep their definitions; anonymous blocks that clash
// are renamed.
DxfInResult ReadDxfFile(AcDbDatabase& db, const std::string& nativePath);

// The same over DXF text already in memory.
DxfInResult ReadDxfText(AcDbDatabase& db, std::string_view text);

}  // namespace arxhost::dxf
