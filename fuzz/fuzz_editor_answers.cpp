// Any bytes as the lines that answer the editor's prompts: a keyword prompt,
// a pick and a selection over a small drawing never crash or hang, give only
// their documented results, and leave nothing open and no set behind.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "arx/aced.h"
#include "arx/dbInspector.h"
#include "arx/dbheaders.h"
#include "win32/input.h"
#include "win32/transcript.h"

namespace {

void Append(AcDbBlockTableRecord* space, AcDbEntity* entity) {
  if (space->appendAcDbEntity(entity) == Acad::eOk)
    entity->close();
  else
    delete entity;
}

void Draw() {
  arxhost::ResetWorkingDatabase();
  AcDbBlockTable* blocks = nullptr;
  if (acdbHostApplicationServices()->workingDatabase()->getSymbolTable(blocks, AcDb::kForRead) != Acad::eOk)
    std::abort();
  AcDbBlockTableRecord* ms = nullptr;
  if (blocks->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite) != Acad::eOk) std::abort();
  blocks->close();
  Append(ms, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  Append(ms, new AcDbPoint(AcGePoint3d(5, 5, 0)));
  Append(ms, new AcDbFace(AcGePoint3d(0, 10, 0), AcGePoint3d(1, 10, 0), AcGePoint3d(1, 11, 0), AcGePoint3d(0, 11, 0)));
  ms->close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Draw();
  arxhost::Transcript::Capture quiet;
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  arxhost::StreamInput input(lines, false);
  arxhost::InputScope scope(input);

  acedInitGet(0, L"Yes No eXit LType");
  ACHAR reply[8];
  const int keyword = acedGetKword(L"Option: ", reply, sizeof reply / sizeof reply[0]);
  if (keyword != RTNORM && keyword != RTNONE && keyword != RTCAN && keyword != RTINPUTTRUNCATED) std::abort();

  ads_name name;
  ads_point at;
  const int pick = acedEntSel(nullptr, name, at);
  if (pick != RTNORM && pick != RTERROR && pick != RTCAN) std::abort();

  ads_name set;
  const int selection = acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
  if (selection == RTNORM) {
    Adesk::Int32 length = 0;
    if (acedSSLength(set, &length) != RTNORM || length < 1 || length > 3) std::abort();
    acedSSFree(set);
  } else if (selection != RTERROR && selection != RTCAN) {
    std::abort();
  }
  if (arxhost::LiveSelectionSets() != 0 || !arxhost::DatabaseInspector().openObjects().empty()) std::abort();
  return 0;
}
