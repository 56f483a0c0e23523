#pragma once
// Entities: layer, colour, linetype and visibility, placement changes and
// explosion into simpler entities.
#include "arx/AcArray.h"
#include "arx/cmColor.h"
#include "arx/dbObject.h"
#include "arx/dbSubent.h"
#include "arx/geMatrix3d.h"
#include "mfc/CString.h"

class AcDbEntity : public AcDbObject {
  ARXHOST_RX_MEMBERS(AcDbEntity)
 public:
  AcDbEntity() = default;

  // The block table record that owns the entity (null before it is appended).
  AcDbObjectId blockId() const;

  AcCmColor color() const { return color_; }
  Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
  Adesk::UInt16 colorIndex() const { return color_.colorIndex(); }
  // 0 by block, 256 by layer, 1 to 255 an index; otherwise eOutOfRange.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index, bool doSubents = true);
  AcCmEntityColor entityColor() const { return color_.entityColor(); }

  // The layer's name as a copy made with new[] (the caller releases it with
  // delete[]); null when the entity has no layer yet.
  ACHAR* layer() const;
  AcDbObjectId layerId() const { return layer_; }
  // By name: looked up in the entity's database, or the working database
  // for an entity in none; eKeyNotFound when there is no such layer.
  Acad::ErrorStatus setLayer(const ACHAR* name, bool doSubents = true, bool allowHiddenLayer = false);
  // By id: eNullObjectId, or eWrongObjectType for an id that is not a layer.
  Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true, bool allowHiddenLayer = false);

  ACHAR* linetype() const;  // as layer()
  AcDbObjectId linetypeId() const { return linetype_; }
  Acad::ErrorStatus setLinetype(const ACHAR* name, bool doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId linetypeId, bool doSubents = true);
  double linetypeScale() const { return linetypeScale_; }
  Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);
  AcDb::Visibility visibility() const { return visibility_; }
  Acad::ErrorStatus setVisibility(AcDb::Visibility v, bool doSubents = true);
  AcDb::LineWeight lineWeight() const { return lineWeight_; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight w, bool doSubents = true);

  // Layer "0" (the current layer), linetype ByLayer, colour by layer; from
  // the given database or the working one.
  void setDatabaseDefaults(AcDbDatabase* db = nullptr);

  // Moves the entity; needs it open for write.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  // New entities, in no database, that together make this one; the caller
  // owns them. eNotApplicable where the entity has no simpler form.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const;

  Acad::ErrorStatus highlight(const AcDbFullSubentPath& path = AcDbFullSubentPath(), bool highlightAll = false) const;
  Acad::ErrorStatus unhighlight(const AcDbFullSubentPath& path = AcDbFullSubentPath(),
                                bool highlightAll = false) const;
  // Host side: highlighted and not yet unhighlighted.
  bool isHighlighted() const { return highlighted_; }

  // Host side: moves a vertex with its owner, whatever its own open state.
  Acad::ErrorStatus transformAsChild(const AcGeMatrix3d& xform) { return subTransformBy(xform); }

  // Host side: the layer name as a string (empty without a layer).
  CString layerName() const;

 protected:
  virtual Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform);
  virtual Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const;
  // Copies layer, colour, linetype and visibility to a piece of an explode.
  void copyPropertiesTo(AcDbEntity* piece) const;
  void onAddedToDatabase(AcDbDatabase* db) override;

 private:
  AcCmColor color_;
  AcDbObjectId layer_, linetype_;
  double linetypeScale_ = 1.0;
  AcDb::Visibility visibility_ = AcDb::kVisible;
  AcDb::LineWeight lineWeight_ = AcDb::kLnWtByLayer;
  mutable bool highlighted_ = false;
};

namespace arxhost {
// Transforms that keep circles circles: rotation, mirror, translation and
// one scale factor.
bool IsUniformTransform(const AcGeMatrix3d& xform);
}  // namespace arxhost
