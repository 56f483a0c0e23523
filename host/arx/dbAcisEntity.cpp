// Solids, regions and bodies; SAT files in and out.
#include "arx/dbAcisEntity.h"

#include "acis/AcisReader.h"
#include "acis/AcisWriter.h"

ARXHOST_RX_DEFINE(AcDbBody, AcDbEntity, L"BODY")
ARXHOST_RX_DEFINE(AcDb3dSolid, AcDbEntity, L"3DSOLID")
ARXHOST_RX_DEFINE(AcDbRegion, AcDbEntity, L"REGION")

namespace arxhost {

Acad::ErrorStatus AcisModel::setSatText(std::string sat) {
  SatReadResult read = ReadSatText(sat);
  if (read.status != Acad::eOk || read.bodies.empty()) return Acad::eInvalidInput;
  sat_ = std::move(sat);
  placement_.setToIdentity();
  return Acad::eOk;
}

void AcisModel::adoptReadBody(std::string sat) {
  sat_ = std::move(sat);
  placement_.setToIdentity();
}

Acad::ErrorStatus AcisModel::transformBy(const AcGeMatrix3d& xform) {
  if (!xform.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  placement_.preMultBy(xform);
  return Acad::eOk;
}

std::string AcisModel::placedSat() const {
  if (sat_.empty()) return {};
  // The text was read when it was set: unmoved, it is its own placed text.
  if (placement_.isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol())) return sat_;
  std::string error;
  std::optional<std::string> placed = PlaceSat(sat_, placement_, error);
  return placed ? *placed : std::string();
}

const AcisModel* AcisModelOf(const AcDbEntity* e) {
  if (auto* b = AcDbBody::cast(e)) return &b->acisModel();
  if (auto* s = AcDb3dSolid::cast(e)) return &s->acisModel();
  if (auto* r = AcDbRegion::cast(e)) return &r->acisModel();
  return nullptr;
}

}  // namespace arxhost

Acad::ErrorStatus AcDbBody::acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities) {
  if (!fileName || !*fileName) return Acad::eCantOpenFile;
  arxhost::SatReadResult read = arxhost::ReadSatBodies(fileName);
  if (read.status != Acad::eOk) return read.status;
  // Each body's text is the reader's own, whole and of one body: it is not
  // read a second time.
  for (arxhost::SatBody& body : read.bodies) {
    if (body.sat.empty()) continue;
    AcDbEntity* e = nullptr;
    switch (body.kind) {
      case arxhost::SatBodyKind::Solid: {
        auto* s = new AcDb3dSolid();
        s->adoptReadBody(std::move(body.sat));
        e = s;
        break;
      }
      case arxhost::SatBodyKind::Region: {
        auto* r = new AcDbRegion();
        r->adoptReadBody(std::move(body.sat));
        e = r;
        break;
      }
      default: {
        auto* b = new AcDbBody();
        b->adoptReadBody(std::move(body.sat));
        e = b;
        break;
      }
    }
    entities.append(e);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBody::acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  if (entities.isEmpty()) return Acad::eInvalidInput;
  std::vector<arxhost::SatPlacedBody> bodies;
  for (void* p : entities) {
    if (!p) return Acad::eNullEntityPointer;
    const arxhost::AcisModel* model = arxhost::AcisModelOf(static_cast<AcDbEntity*>(p));
    if (!model) return Acad::eWrongObjectType;
    if (model->isNull()) return Acad::eDegenerateGeometry;
    bodies.push_back({&model->satText(), model->placement()});
  }
  std::string error;
  return arxhost::WriteSatFile(fileName, bodies, error);
}
