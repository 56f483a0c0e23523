#pragma once
// Builds a model in memory and writes it as a model file. The IGES
// conversion uses it, and so can tests that need a model of their own.
#include <string>
#include <vector>

#include "ModelFormat.h"
#include "Uuid.h"

namespace kelv::model {

// The model as a finished buffer with identifier and current version.
std::vector<uint8_t> PackModel(const ModelT& model);
// The same buffer appended to out, built there without a copy. Readers
// want it at a multiple of 8 bytes from an aligned start.
void PackModelInto(const ModelT& model, std::string& out);

// Writes the model at nativePath through a temporary file beside it; on
// failure nothing is left at the path and error holds an English sentence.
bool WriteModelFile(const ModelT& model, const std::string& nativePath, std::string& error);

class ModelMaker {
 public:
  ModelMaker();

  ModelT& Model() { return model_; }
  const ModelT& Model() const { return model_; }

  // Each returns the index of the new record in its table.
  int AddLayer(const std::string& name, uint32_t color = 0, bool visible = true, bool locked = false);
  int AddFont(const std::string& faceName);
  int AddDimStyle(const DimStyleT& style);
  int AddInstanceDefinition(const std::string& name, const std::vector<Uuid>& members, const Uuid& id);

  // Adds an object; a nil uuid in the attributes is replaced by a new one,
  // which is returned.
  Uuid AddObject(GeometryUnion geometry, AttributesT attributes = {});

  bool Write(const std::string& nativePath, std::string& error) const {
    return WriteModelFile(model_, nativePath, error);
  }

 private:
  ModelT model_;
};

// Shorthands for geometry records.
inline Vec3 V3(double x, double y, double z = 0.0) { return Vec3(x, y, z); }
GeometryUnion MakePoint(const Vec3& p);
GeometryUnion MakeCurve(CurveGeometryUnion curve);
GeometryUnion MakeLine(const Vec3& from, const Vec3& to);
GeometryUnion MakePolyline(const std::vector<Vec3>& points);
// A circle (angle 0 to 2 pi) or arc in the plane through centre spanned by
// xaxis and yaxis (unit vectors), angles in radians.
GeometryUnion MakeArc(const Vec3& centre, const Vec3& xaxis, const Vec3& yaxis, double radius, double angle0,
                      double angle1);
Plane MakePlane(const Vec3& origin, const Vec3& xaxis, const Vec3& yaxis);
Plane WorldXY(const Vec3& origin = Vec3(0, 0, 0));

}  // namespace kelv::model
