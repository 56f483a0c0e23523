// Reading 3DSOLID, BODY and REGION: the ACIS model kept in the entity as
// encoded SAT lines (group 1, continued under 3).
#include "arx/dbAcisEntity.h"
#include "dxf/DxfInEntity.h"

namespace arxhost::dxf {
namespace {

// Undoes the writer's encoding: each character c but the blank becomes
// 159 - c; "^ " is the caret pair of '^', which stands for 'A'.
std::string DecodeSatLine(const DxfRecord& r, std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    auto c = static_cast<unsigned char>(line[i]);
    if (c == ' ') {
      out += ' ';
      continue;
    }
    if (c == '^' && i + 1 < line.size() && line[i + 1] == ' ') ++i;
    int decoded = 159 - c;
    if (decoded <= 0x20 || decoded >= 0x7F) r.fail("holds ACIS data that is not encoded SAT text");
    out += static_cast<char>(decoded);
  }
  return out;
}

template <class Entity>
EntityPtr ReadAcis(const DxfRecord& r) {
  std::string sat;
  bool any = false;
  for (const auto& g : r.groups) {
    if (g.code == 1) {
      if (any) sat += '\n';
      any = true;
      sat += DecodeSatLine(r, g.value);
    } else if (g.code == 3 && any) {
      sat += DecodeSatLine(r, g.value);
    }
  }
  // Later releases keep the model elsewhere in the file: nothing to build.
  if (!any) return nullptr;
  sat += '\n';
  auto* entity = new Entity;
  EntityPtr e(entity);
  Check(r, entity->setSatText(std::move(sat)), "ACIS data that does not read as a model");
  return e;
}

EntityPtr Read3dSolid(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) { return ReadAcis<AcDb3dSolid>(r); }
EntityPtr ReadBody(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) { return ReadAcis<AcDbBody>(r); }
EntityPtr ReadRegion(const DxfRecord& r, BuildContext&, std::vector<Fixup>&) { return ReadAcis<AcDbRegion>(r); }

const EntityReaderRegistration k3dSolid("3DSOLID", Read3dSolid);
const EntityReaderRegistration kBody("BODY", ReadBody);
const EntityReaderRegistration kRegion("REGION", ReadRegion);

}  // namespace
}  // namespace arxhost::dxf
