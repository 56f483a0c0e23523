// The host command DXFIN FILE (also _dxfin, as modules issue it): reads a
// DXF file into the working drawing.
#include <string>

#include "arx/dbDatabase.h"
#include "dxf/DxfIn.h"
#include "editor/hostcommands.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost::dxf {
namespace {

std::wstring Unquoted(std::wstring name) {
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') name = name.substr(1, name.size() - 2);
  return name;
}

bool DxfIn(CommandArgs& args) {
  auto answer = args.Text(L"Enter name of drawing to open: ");
  std::wstring name = answer ? Unquoted(*answer) : std::wstring();
  if (name.empty()) {
    Transcript::WriteLine(L"DXFIN: no file name was given; nothing was read.");
    CommandLine::FailCall();
    return false;
  }
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  DxfInResult result = ReadDxfFile(*db, NativePath(name));
  if (!result.error.empty()) {
    Transcript::WriteLine(L"DXFIN: " + FromUtf8(result.error) + L" Nothing was added to the drawing.");
    CommandLine::FailCall();
    return false;
  }
  std::wstring line = L"DXFIN: read " + std::to_wstring(result.entities) + L" entities and " +
                      std::to_wstring(result.blocks) + L" block definitions from " + name + L".";
  if (result.skipped > 0)
    line += L" " + std::to_wstring(result.skipped) + L" entities of kinds this host does not keep were left out.";
  Transcript::WriteLine(line);
  return true;
}

const HostCommandRegistrar kDxfIn(L"DXFIN", L"DXFIN FILE: reads a DXF file into the drawing (also _dxfin)", DxfIn);

}  // namespace
}  // namespace arxhost::dxf
