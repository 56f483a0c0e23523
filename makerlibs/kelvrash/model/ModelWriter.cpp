#include "ModelWriter.h"

#include <cmath>

#include "AtomicFile.h"

namespace kelv::model {

std::vector<uint8_t> PackModel(const ModelT& model) {
  flatbuffers::FlatBufferBuilder builder(1 << 16);
  ModelT copy;
  const ModelT* source = &model;
  if (model.version != kModelVersion) {
    copy = model;
    copy.version = kModelVersion;
    source = &copy;
  }
  FinishModelBuffer(builder, Model::Pack(builder, source));
  return {builder.GetBufferPointer(), builder.GetBufferPointer() + builder.GetSize()};
}

bool WriteModelFile(const ModelT& model, const std::string& nativePath, std::string& error) {
  std::vector<uint8_t> bytes = PackModel(model);
  std::string reason;
  if (!WriteFileAtomically(nativePath, bytes, reason)) {
    error = "The model file '" + nativePath + "' cannot be written (" + reason + ").";
    return false;
  }
  return true;
}

ModelMaker::ModelMaker() {
  model_.version = kModelVersion;
  model_.properties = std::make_unique<PropertiesT>();
}

int ModelMaker::AddLayer(const std::string& name, uint32_t color, bool visible, bool locked) {
  auto layer = std::make_unique<LayerT>();
  layer->name = name;
  layer->uuid = NewUuid();
  layer->color = color;
  layer->visible = visible;
  layer->locked = locked;
  model_.layers.push_back(std::move(layer));
  return static_cast<int>(model_.layers.size()) - 1;
}

int ModelMaker::AddFont(const std::string& faceName) {
  auto font = std::make_unique<FontT>();
  font->name = faceName;
  font->face_name = faceName;
  font->uuid = NewUuid();
  model_.fonts.push_back(std::move(font));
  return static_cast<int>(model_.fonts.size()) - 1;
}

int ModelMaker::AddDimStyle(const DimStyleT& style) {
  auto copy = std::make_unique<DimStyleT>(style);
  if (IsNil(copy->uuid)) copy->uuid = NewUuid();
  model_.dim_styles.push_back(std::move(copy));
  return static_cast<int>(model_.dim_styles.size()) - 1;
}

int ModelMaker::AddInstanceDefinition(const std::string& name, const std::vector<Uuid>& members,
                                        const Uuid& id) {
  auto def = std::make_unique<InstanceDefinitionT>();
  def->name = name;
  def->uuid = IsNil(id) ? NewUuid() : id;
  def->members = members;
  model_.instance_definitions.push_back(std::move(def));
  return static_cast<int>(model_.instance_definitions.size()) - 1;
}

Uuid ModelMaker::AddObject(GeometryUnion geometry, AttributesT attributes) {
  auto object = std::make_unique<ObjectT>();
  if (IsNil(attributes.uuid)) attributes.uuid = NewUuid();
  Uuid id = attributes.uuid;
  object->attributes = std::make_unique<AttributesT>(std::move(attributes));
  object->geometry = std::move(geometry);
  model_.objects.push_back(std::move(object));
  return id;
}

GeometryUnion MakePoint(const Vec3& p) {
  GeometryUnion g;
  PointT point;
  point.point = p;
  g.Set(std::move(point));
  return g;
}

GeometryUnion MakeCurve(CurveGeometryUnion curve) {
  GeometryUnion g;
  CurveT wrapper;
  wrapper.geometry = std::move(curve);
  g.Set(std::move(wrapper));
  return g;
}

GeometryUnion MakeLine(const Vec3& from, const Vec3& to) {
  LineCurveT line;
  line.from = from;
  line.to = to;
  double dx = to.x() - from.x(), dy = to.y() - from.y(), dz = to.z() - from.z();
  line.domain = Interval(0.0, std::sqrt(dx * dx + dy * dy + dz * dz));
  CurveGeometryUnion c;
  c.Set(std::move(line));
  return MakeCurve(std::move(c));
}

GeometryUnion MakePolyline(const std::vector<Vec3>& points) {
  PolylineCurveT pline;
  pline.points = points;
  for (size_t i = 0; i < points.size(); ++i) pline.params.push_back(static_cast<double>(i));
  CurveGeometryUnion c;
  c.Set(std::move(pline));
  return MakeCurve(std::move(c));
}

Plane MakePlane(const Vec3& origin, const Vec3& xaxis, const Vec3& yaxis) {
  Vec3 z(xaxis.y() * yaxis.z() - xaxis.z() * yaxis.y(), xaxis.z() * yaxis.x() - xaxis.x() * yaxis.z(),
         xaxis.x() * yaxis.y() - xaxis.y() * yaxis.x());
  return Plane(origin, xaxis, yaxis, z);
}

Plane WorldXY(const Vec3& origin) { return MakePlane(origin, Vec3(1, 0, 0), Vec3(0, 1, 0)); }

GeometryUnion MakeArc(const Vec3& centre, const Vec3& xaxis, const Vec3& yaxis, double radius, double angle0,
                      double angle1) {
  ArcCurveT arc;
  arc.plane = MakePlane(centre, xaxis, yaxis);
  arc.radius = radius;
  arc.angle = Interval(angle0, angle1);
  arc.domain = Interval(angle0, angle1);
  CurveGeometryUnion c;
  c.Set(std::move(arc));
  return MakeCurve(std::move(c));
}

}  // namespace kelv::model
