#include "ModelWriter.h"

#include <cmath>
#include <cstring>

#include "AtomicFile.h"

namespace kelv::model {

namespace {

// The builder's storage is the tail of a string the caller keeps, after
// what the string already holds: the finished buffer, built at the
// storage's end, moves to the front of the tail in place rather than being
// copied into a second buffer. The caller owns the string throughout. The
// builder works from an aligned start, whatever the string held before.
class TailStorage : public flatbuffers::Allocator {
 public:
  explicit TailStorage(std::string& bytes)
      : bytes_(bytes), base_(bytes.size()), work_((base_ + kAlign - 1) / kAlign * kAlign) {}

  uint8_t* allocate(size_t size) override {
    bytes_.resize(work_ + size);
    return Work(bytes_);
  }
  void deallocate(uint8_t*, size_t) override {}
  uint8_t* reallocate_downward(uint8_t* old, size_t oldSize, size_t newSize, size_t back, size_t front) override {
    std::string grown;
    grown.reserve(work_ + newSize);
    grown.assign(bytes_, 0, base_);
    grown.resize(work_ + newSize);
    memcpy_downward(old, oldSize, Work(grown), newSize, back, front);
    bytes_.swap(grown);
    return Work(bytes_);
  }
  // Moves the finished buffer to the front of the tail and cuts the rest.
  void Finish(const uint8_t* buffer, size_t size) {
    std::memmove(bytes_.data() + base_, buffer, size);
    bytes_.resize(base_ + size);
  }

 private:
  static constexpr size_t kAlign = 16;
  uint8_t* Work(std::string& s) const { return reinterpret_cast<uint8_t*>(s.data()) + work_; }

  std::string& bytes_;
  size_t base_, work_;
};

// About what the packed model takes, so that the builder seldom grows.
size_t EstimatedSize(const ModelT& m) {
  size_t members = 0;
  for (const auto& d : m.instance_definitions)
    if (d) members += d->members.size();
  return (size_t{1} << 16) + m.objects.size() * 192 + members * 16 + m.instance_definitions.size() * 64 +
         (m.layers.size() + m.fonts.size()) * 64 + m.dim_styles.size() * 512;
}

}  // namespace

void PackModelInto(const ModelT& model, std::string& out) {
  TailStorage storage(out);
  flatbuffers::FlatBufferBuilder builder(EstimatedSize(model), &storage);
  ModelT copy;
  const ModelT* source = &model;
  if (model.version != kModelVersion) {
    copy = model;
    copy.version = kModelVersion;
    source = &copy;
  }
  FinishModelBuffer(builder, Model::Pack(builder, source));
  storage.Finish(builder.GetBufferPointer(), builder.GetSize());
}

std::vector<uint8_t> PackModel(const ModelT& model) {
  std::string packed;
  PackModelInto(model, packed);
  return std::vector<uint8_t>(packed.begin(), packed.end());
}

bool WriteModelFile(const ModelT& model, const std::string& nativePath, std::string& error) {
  std::string bytes;
  PackModelInto(model, bytes);
  std::string reason;
  if (!WriteFileAtomically(nativePath, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, reason)) {
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
