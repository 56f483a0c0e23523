// The host command SAVEAS FILE: writes the working drawing as DXF.
#include <string>

#include "arx/dbDatabase.h"
#include "dxf/DxfOut.h"
#include "editor/hostcommands.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost::dxf {
namespace {

std::wstring Trimmed(std::wstring name) {
  // A script may quote a name that holds blanks.
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') name = name.substr(1, name.size() - 2);
  return name;
}

bool HasExtension(const std::wstring& name) {
  auto dot = name.find_last_of(L'.');
  auto slash = name.find_last_of(L"\\/");
  return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
}

bool SaveAs(CommandArgs& args) {
  auto answer = args.Text(L"Save drawing as <file name>: ");
  std::wstring name = answer ? Trimmed(*answer) : std::wstring();
  if (name.empty()) {
    Transcript::WriteLine(L"SAVEAS: no file name was given; the drawing was not saved.");
    return false;
  }
  // DXF is the one format this host writes; a bare name gets its extension.
  if (!HasExtension(name)) name += L".dxf";
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  std::string error = SaveAsDxf(*db, NativePath(name));
  if (!error.empty()) {
    Transcript::WriteLine(FromUtf8(error));
    return false;
  }
  return true;
}

const HostCommandRegistrar kSaveAs(L"SAVEAS", L"SAVEAS FILE: saves the drawing as an AutoCAD 2010 DXF file", SaveAs);

}  // namespace
}  // namespace arxhost::dxf
