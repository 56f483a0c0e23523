// Entity properties, and the default placement and explode.
#include "arx/dbEntity.h"

#include <cmath>
#include <cwchar>

#include "arx/dbDatabase.h"
#include "arx/dbLayerTable.h"
#include "arx/dbLinetypeTable.h"

ARXHOST_RX_DEFINE(AcDbEntity, AcDbObject, L"")

namespace {

ACHAR* CopyName(AcDbObjectId id) {
  auto* r = AcDbSymbolTableRecord::cast(arxhost::PeekObject(id));
  if (!r) return nullptr;
  ACHAR* s = nullptr;
  r->getName(s);
  return s;
}

AcDbDatabase* DatabaseFor(const AcDbEntity* e) {
  return e->database() ? e->database() : acdbHostApplicationServices()->workingDatabase();
}

}  // namespace

AcDbObjectId AcDbEntity::blockId() const { return ownerId(); }

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  color_ = color;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  AcCmColor c;
  if (Acad::ErrorStatus es = c.setColorIndex(index)) return es;
  color_ = c;
  return Acad::eOk;
}

ACHAR* AcDbEntity::layer() const { return CopyName(layer_); }

CString AcDbEntity::layerName() const {
  auto* r = AcDbSymbolTableRecord::cast(arxhost::PeekObject(layer_));
  return r ? r->name() : CString();
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name, bool doSubents, bool allowHiddenLayer) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!name) return Acad::eInvalidInput;
  AcDbDatabase* db = DatabaseFor(this);
  auto* table = AcDbSymbolTable::cast(arxhost::PeekObject(db->layerTableId()));
  AcDbObjectId id;
  if (!table || table->getAt(name, id) != Acad::eOk) return Acad::eKeyNotFound;
  return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId id, bool, bool allowHiddenLayer) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (id.isNull()) return Acad::eNullObjectId;
  auto* layer = AcDbLayerTableRecord::cast(arxhost::PeekObject(id));
  if (!layer) return Acad::eWrongObjectType;
  if (layer->isErased()) return Acad::eWasErased;
  if (database() && layer->database() != database()) return Acad::eWrongDatabase;
  if (layer->isHidden() && !allowHiddenLayer) return Acad::eInvalidLayer;
  layer_ = id;
  return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const { return CopyName(linetype_); }

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name, bool doSubents) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!name) return Acad::eInvalidInput;
  AcDbDatabase* db = DatabaseFor(this);
  auto* table = AcDbSymbolTable::cast(arxhost::PeekObject(db->linetypeTableId()));
  AcDbObjectId id;
  if (!table || table->getAt(name, id) != Acad::eOk) return Acad::eKeyNotFound;
  return setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId id, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (id.isNull()) return Acad::eNullObjectId;
  if (!AcDbLinetypeTableRecord::cast(arxhost::PeekObject(id))) return Acad::eWrongObjectType;
  linetype_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  if (!(scale > 0.0)) return Acad::eInvalidInput;
  linetypeScale_ = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  visibility_ = v;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight w, bool) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  lineWeight_ = w;
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
  if (!db) db = DatabaseFor(this);
  layer_ = db->clayer();
  linetype_ = db->byLayerLinetype();
  color_ = AcCmColor();
}

void AcDbEntity::onAddedToDatabase(AcDbDatabase* db) {
  // An entity that never had a layer or linetype set takes the drawing's;
  // one set against another database keeps nothing of it.
  if (layer_.isNull() || layer_.database() != db) layer_ = db->clayer();
  if (linetype_.isNull() || linetype_.database() != db) linetype_ = db->byLayerLinetype();
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d& xform) {
  if (Acad::ErrorStatus es = checkWrite()) return es;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (!std::isfinite(xform.entry[i][j])) return Acad::eInvalidInput;
  return subTransformBy(xform);
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray& entities) const { return subExplode(entities); }

Acad::ErrorStatus AcDbEntity::subTransformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbEntity::subExplode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

void AcDbEntity::copyPropertiesTo(AcDbEntity* piece) const {
  piece->color_ = color_;
  piece->layer_ = layer_;
  piece->linetype_ = linetype_;
  piece->linetypeScale_ = linetypeScale_;
  piece->visibility_ = visibility_;
  piece->lineWeight_ = lineWeight_;
}

Acad::ErrorStatus AcDbEntity::highlight(const AcDbFullSubentPath&, bool) const {
  highlighted_ = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbEntity::unhighlight(const AcDbFullSubentPath&, bool) const {
  highlighted_ = false;
  return Acad::eOk;
}

bool arxhost::IsUniformTransform(const AcGeMatrix3d& xform) { return xform.isUniScaledOrtho(); }
