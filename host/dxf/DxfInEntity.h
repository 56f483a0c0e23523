#pragma once
// Building database entities from DXF records: one reader per DXF entity
// type, registered by the type's name. A reader throws DxfReadError for a
// record it cannot make sense of; it builds the entity without a database
// and leaves what names other objects (layer, styles, blocks) to fixups
// that run once the tables are in the database.
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "arx/ErrorStatus.h"
#include "arx/dbId.h"
#include "arx/gePoint3d.h"
#include "arx/geVector3d.h"
#include "dxf/DxfDocument.h"
#include "dxf/Ocs.h"

class AcDbEntity;
class AcDbDatabase;

namespace arxhost::dxf {

// Names to ids in the database being read into.
class NameResolver {
 public:
  virtual ~NameResolver() = default;
  virtual AcDbObjectId layer(std::wstring_view name) = 0;  // made when missing
  virtual AcDbObjectId linetype(std::wstring_view name) = 0;
  virtual AcDbObjectId textStyle(std::wstring_view name) = 0;
  virtual AcDbObjectId dimStyle(std::wstring_view name) = 0;
  virtual AcDbObjectId block(std::wstring_view name) = 0;
  // The name of the text style with the handle (for dimension overrides).
  virtual std::wstring textStyleOfHandle(std::string_view handle) = 0;
};

using Fixup = std::function<void(NameResolver& names, AcDbEntity& entity)>;

struct EntityDeleter {
  void operator()(AcDbEntity* entity) const;
};
using EntityPtr = std::unique_ptr<AcDbEntity, EntityDeleter>;

struct BuiltEntity {
  EntityPtr entity;
  std::vector<Fixup> fixups;
  bool paperSpace = false;
};

// What a reader may ask about the file and the drawing while it builds.
class BuildContext {
 public:
  virtual ~BuildContext() = default;
  // True when the block is defined in the file or in the drawing.
  virtual bool hasBlock(std::wstring_view name) const = 0;
};

// Null entity: skipped (a kind the host keeps nothing of).
using EntityReadFn = EntityPtr (*)(const DxfRecord& record, BuildContext& ctx, std::vector<Fixup>& fixups);

struct EntityReaderRegistration {
  EntityReaderRegistration(const char* dxfType, EntityReadFn fn);
};

// Builds one entity with its common properties (layer, colour, linetype,
// line weight, linetype scale, visibility). Null entity: skipped.
BuiltEntity BuildEntity(const DxfRecord& record, BuildContext& ctx);

// Helpers for the readers.
std::wstring Wide(std::string_view utf8);
AcGePoint3d PointOf(const DxfRecord& r, int code, const AcGePoint3d& fallback = AcGePoint3d());
AcGeVector3d VectorOf(const DxfRecord& r, int code, const AcGeVector3d& fallback = AcGeVector3d());
// Every point of the record under code (x), in order; its y and z follow
// each x as code+10 and code+20 (z optional: 2D points have none).
std::vector<AcGePoint3d> PointsOf(const DxfRecord& r, int code);
// The extrusion (210), unit length; refuses a zero one.
Vec3 ExtrusionOf(const DxfRecord& r);
inline AcGePoint3d P(const Vec3& v) { return {v[0], v[1], v[2]}; }
inline Vec3 V3(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }
inline AcGeVector3d Dir(const Vec3& v) { return {v[0], v[1], v[2]}; }
// Text in caret notation back to plain text; with mtext "\P" becomes a
// line end.
std::string CaretDecode(std::string_view value, bool mtext);
// Fails the record unless the status is eOk.
void Check(const DxfRecord& r, Acad::ErrorStatus status, const char* what);

constexpr double kRadians = std::numbers::pi / 180.0;

}  // namespace arxhost::dxf
