// GeometryConverter: the last-error text, value conversions in both
// directions, the colour of a model object, and the fillers of points,
// lines, arcs and circles.
#include <cmath>

#include "GeometryConverter.h"

CString GeometryConverter::m_error;

CString GeometryConverter::GetError() { return m_error; }

void GeometryConverter::SetError(const CString& text) { m_error = text; }

AcGePoint3d GeometryConverter::PointToAcGePoint(const ON_3dPoint& point) {
  return AcGePoint3d(point.x, point.y, point.z);
}

AcGeVector3d GeometryConverter::VectorToAcGeVector(const ON_3dVector& vector) {
  return AcGeVector3d(vector.x, vector.y, vector.z);
}

AcGeMatrix3d GeometryConverter::XformToMatrix(const ON_Xform& xform) {
  // Both are row-major with the translation in the last column: no
  // transposition, and the projective row travels too.
  AcGeMatrix3d matrix;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++) matrix.entry[i][j] = xform.m_xform[i][j];
  return matrix;
}

AcCmColor GeometryConverter::AttributesToColor(const ON_3dmObjectAttributes& attributes) {
  AcCmColor color;
  switch (attributes.ColorSource()) {
    case ON::color_from_layer:
    case ON::color_from_material:
      color.setColorMethod(AcCmEntityColor::kByLayer);
      break;
    case ON::color_from_object: {
      const ON__UINT32 packed = attributes.m_color;
      color.setColorMethod(AcCmEntityColor::kByColor);
      color.setRGB(static_cast<Adesk::UInt8>(packed & 0xFF), static_cast<Adesk::UInt8>((packed >> 8) & 0xFF),
                   static_cast<Adesk::UInt8>((packed >> 16) & 0xFF));
      break;
    }
    default:
      // From the parent: the colour stays as constructed.
      break;
  }
  return color;
}

ON_3dPoint GeometryConverter::AcGePointToPoint(const AcGePoint3d& point) {
  return ON_3dPoint(point.x, point.y, point.z);
}

ON_3dVector GeometryConverter::AcGeVectorToVector(const AcGeVector3d& vector) {
  return ON_3dVector(vector.x, vector.y, vector.z);
}

ON_Xform GeometryConverter::MatrixToXform(const AcGeMatrix3d& matrix) {
  ON_Xform xform;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++) xform.m_xform[i][j] = matrix.entry[i][j];
  return xform;
}

int GeometryConverter::PointToAcDbPoint(const ON_Point& point, AcDbPoint* entity) {
  entity->setPosition(PointToAcGePoint(point.point));
  return 1;
}

int GeometryConverter::LineToAcDbLine(const ON_Line& line, AcDbLine* entity) {
  entity->setStartPoint(PointToAcGePoint(line.from));
  entity->setEndPoint(PointToAcGePoint(line.to));
  return 1;
}

int GeometryConverter::ArcToAcDbArc(const ON_Arc& arc, AcDbArc* entity) {
  const AcGePoint3d center = PointToAcGePoint(arc.Center());
  AcGeVector3d start = PointToAcGePoint(arc.StartPoint()) - center;
  start.normalize(AcGeContext::gTol);
  AcGeVector3d normal = VectorToAcGeVector(arc.Normal());
  normal.normalize(AcGeContext::gTol);

  // The drawing measures angles from the x axis that the arbitrary-axis
  // rule gives the normal.
  const double limit = 1.0 / 64.0;
  AcGeVector3d world = (std::fabs(normal.x) < limit && std::fabs(normal.y) < limit) ? AcGeVector3d(0, 1, 0)
                                                                          : AcGeVector3d(0, 0, 1);
  AcGeVector3d axis = world.crossProduct(normal);
  axis.normalize(AcGeContext::gTol);

  const double startAngle = axis.angleTo(start, normal);
  // The sweep is added as it is: the drawing keeps the angle below a full
  // turn itself.
  const double endAngle = startAngle + arc.AngleRadians();

  entity->setCenter(center);
  entity->setNormal(normal);
  entity->setRadius(arc.Radius());
  entity->setStartAngle(startAngle);
  entity->setEndAngle(endAngle);
  return 1;
}

int GeometryConverter::CircleToAcDbCircle(const ON_Circle& circle, AcDbCircle* entity) {
  entity->setCenter(PointToAcGePoint(circle.Center()));
  entity->setRadius(circle.Radius());
  entity->setNormal(VectorToAcGeVector(circle.Normal()));
  return 1;
}

void GeometryConverter::AddAndClose(AcDbEntity* entity, const CString& layer, const AcCmColor& color) {
  if (AcadUtils::AddEntity(entity, layer, color) == Acad::eOk) {
    entity->close();
  } else {
    // Not in the drawing: nobody else will ever free it.
    delete entity;
  }
}
