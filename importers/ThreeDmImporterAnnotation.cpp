// The handlers of texts, leaders, dimensions, text dots and arrows of both
// annotation generations.
#include "AcadUtils.h"
#include "GeometryConverter.h"
#include "Kelvrash90Ux64.h"
#include "ThreeDmImporter.h"

namespace {

// A leader made from an arrow runs back along it for this many arrow sizes.
constexpr double kArrowLeaderLength = 2.1;
// Lines of a text below the first move its location down by this many
// text heights each.
constexpr double kLineSpacing = 1.5;

AcGePoint3d PlanePoint(const ON_2dPoint& p) { return GeometryConverter::PointToAcGePoint(ON_3dPoint(p)); }

template <typename Annotation>
AcGePoint3d DefinitionPoint(const Annotation& annotation, int i) {
  return PlanePoint(annotation.Point(i));
}

template <typename Annotation>
ON_Xform EcsToWorld(const Annotation& annotation) {
  ON_Xform xform = ON_Xform::ZeroTransformation;  // all zero but the last diagonal entry until filled
  xform.m_xform[3][3] = 1.0;
  annotation.GetECStoWCSXform(xform);
  return xform;
}

// The text as multiline-text contents: line feeds become paragraph breaks,
// carriage returns go; count receives the number of line feeds.
CString MTextContents(const wchar_t* userText, int& lineFeeds) {
  CString text = userText ? userText : L"";
  lineFeeds = 0;
  for (int i = 0; i < text.GetLength(); ++i)
    if (text[i] == L'\n') ++lineFeeds;
  text.Replace(L"\n", L"\\P");
  text.Remove(L'\r');
  return text;
}

CString WithFontPrefix(const CString& faceName, const CString& text) {
  if (faceName.IsEmpty()) return text;
  CString contents;
  contents.Format(L"\\F%s;%s", faceName.GetString(), text.GetString());
  return contents;
}

CString RadialText(const wchar_t* userText) {
  CString text = userText ? userText : L"";
  return text == L"R<>" ? CString(L"<>") : text;
}

CString AngularText(const wchar_t* userText) {
  CString text = userText ? userText : L"";
  return text == L"<>\u00B0" ? CString(L"<>") : text;
}

}  // namespace

namespace {

// A text of either generation as multiline text: its face name, height and
// attachment are what the generations differ in.
template <typename Text>
AcDbMText* MakeMText(const Text& entity, const CString& faceName, double height,
                     AcDbMText::AttachmentPoint attachment) {
  int lineFeeds = 0;
  CString text = MTextContents(entity.UserText(), lineFeeds);
  AcGePoint3d location = DefinitionPoint(entity, 0);
  location.y -= lineFeeds * height * kLineSpacing;
  auto* mtext = new AcDbMText;
  mtext->setLocation(location);
  mtext->setContents(WithFontPrefix(faceName, text));
  mtext->setTextHeight(height);
  mtext->setAttachment(attachment);
  // A text of blanks only gets a box as wide as its blanks: readers cannot
  // lay out blanks in a box of no width.
  if (!text.IsEmpty() && text.SpanIncluding(L" \t").GetLength() == text.GetLength())
    mtext->setWidth(text.GetLength() * height);
  return mtext;
}

}  // namespace

int ThreeDmImporter::ImportTextEntity(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_TextEntity*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  PlaceAnnotation(MakeMText(entity, CString(entity.FaceName()), entity.Height(), AcDbMText::kTopLeft), ecs, layer,
                  color);
  return 1;
}

int ThreeDmImporter::ImportTextEntity2(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_TextEntity2*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  // The font index counts from the end of the font table.
  ON_Font font;
  Kelv3dm::ReadGetFont(Kelv3dm::ReadGetFontTableSize() - entity.FontIndex() - 1, font);
  PlaceAnnotation(MakeMText(entity, CString(font.FontFaceName()), entity.Height(), AcDbMText::kBottomLeft), ecs,
                  layer, color);
  return 1;
}

int ThreeDmImporter::ImportLeader(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_Leader*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  auto* leader = new AcDbLeader;
  for (int i = 0; i < entity.PointCount(); ++i) leader->appendVertex(DefinitionPoint(entity, i));
  leader->setDimasz(ON_AnnotationSettings().m_arrowlength);
  leader->setDimscale(ON_AnnotationSettings().m_dimscale);
  PlaceAnnotation(leader, ecs, layer, color);
  return 1;
}

int ThreeDmImporter::ImportLeader2(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_Leader2*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  auto* leader = new AcDbLeader;
  for (int i = 0; i < entity.PointCount(); ++i) leader->appendVertex(DefinitionPoint(entity, i));
  const AcDbObjectId style = DimStyleAt(entity.Index());
  if (!style.isNull()) leader->setDimensionStyle(style);
  // A style whose leader arrow has no size draws leaders without arrowheads.
  ON_DimStyle record;
  if (Kelv3dm::ReadGetDimStyle(entity.Index(), record) && !(record.LeaderArrowSize() > 0.0))
    leader->disableArrowHead();
  PlaceAnnotation(leader, ecs, layer, color);
  return 1;
}

void ThreeDmImporter::SetDimensionDefaults(AcDbDimension* dimension) {
  dimension->setDimasz(ON_AnnotationSettings().m_arrowlength);
  dimension->setDimtxt(ON_AnnotationSettings().m_textheight);
  dimension->setDimexe(ON_AnnotationSettings().m_dimexe);
  dimension->setDimexo(ON_AnnotationSettings().m_dimexo);
  dimension->setDimscale(ON_AnnotationSettings().m_dimscale);
  dimension->setDimcen(ON_AnnotationSettings().m_centermark);
  dimension->setDimdec(ON_AnnotationSettings().m_resolution);
  dimension->setDimadec(2);
  dimension->setDimtad(ON_AnnotationSettings().m_textalign != 1 ? 1 : 0);
}

namespace {

// What the second-generation dimensions add after construction.
template <typename Annotation>
void ApplyStyleAndTextMode(AcDbDimension* dimension, const Annotation& entity, AcDbObjectId style) {
  if (!style.isNull()) dimension->setDimensionStyle(style);
  const bool horizontal = entity.TextDisplayMode() == ON::dtHorizontal;
  dimension->setDimtoh(horizontal);
  dimension->setDimtih(horizontal);
}

}  // namespace

namespace {

// Linear and radial dimensions are laid out alike in both generations.
template <typename Annotation>
AcDbDimension* MakeLinearDimension(const Annotation& entity) {
  return new AcDbRotatedDimension(0.0, DefinitionPoint(entity, 0), DefinitionPoint(entity, 2),
                                  DefinitionPoint(entity, 4), CString(entity.UserText()), AcDbObjectId::kNull);
}

template <typename Annotation>
AcDbDimension* MakeRadialDimension(const Annotation& entity) {
  const double leaderLength = entity.Point(1).DistanceTo(entity.Point(3));
  auto* dimension = new AcDbRadialDimension(DefinitionPoint(entity, 0), DefinitionPoint(entity, 1), leaderLength,
                                            RadialText(entity.UserText()), AcDbObjectId::kNull);
  dimension->setTextPosition(DefinitionPoint(entity, 2));
  return dimension;
}

}  // namespace

int ThreeDmImporter::ImportLinearDimension(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_LinearDimension*>(object);
  AcDbDimension* dimension = MakeLinearDimension(entity);
  SetDimensionDefaults(dimension);
  PlaceAnnotation(dimension, EcsToWorld(entity), layer, color);
  return 1;
}

int ThreeDmImporter::ImportLinearDimension2(const ON_Object* object, const CString& layer,
                                            const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_LinearDimension2*>(object);
  AcDbDimension* dimension;
  if (entity.m_userpositionedtext) {
    // Point 4 holds the text's place; the first arrowhead (point 1) lies on
    // the dimension line.
    dimension = new AcDbRotatedDimension(0.0, DefinitionPoint(entity, 0), DefinitionPoint(entity, 2),
                                         DefinitionPoint(entity, 1), CString(entity.UserText()), AcDbObjectId::kNull);
    dimension->setTextPosition(DefinitionPoint(entity, 4));
  } else {
    dimension = MakeLinearDimension(entity);
  }
  ApplyStyleAndTextMode(dimension, entity, DimStyleAt(entity.Index()));
  PlaceAnnotation(dimension, EcsToWorld(entity), layer, color);
  return 1;
}

int ThreeDmImporter::ImportRadialDimension(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_RadialDimension*>(object);
  AcDbDimension* dimension = MakeRadialDimension(entity);
  SetDimensionDefaults(dimension);
  PlaceAnnotation(dimension, EcsToWorld(entity), layer, color);
  return 1;
}

int ThreeDmImporter::ImportRadialDimension2(const ON_Object* object, const CString& layer,
                                            const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_RadialDimension2*>(object);
  AcDbDimension* dimension = MakeRadialDimension(entity);
  ApplyStyleAndTextMode(dimension, entity, DimStyleAt(entity.Index()));
  PlaceAnnotation(dimension, EcsToWorld(entity), layer, color);
  return 1;
}

int ThreeDmImporter::ImportAngularDimension(const ON_Object* object, const CString& layer,
                                            const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_AngularDimension*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  CString text = AngularText(entity.UserText());
  auto* dimension = new AcDb3PointAngularDimension(AcGePoint3d(0.0, 0.0, 0.0), DefinitionPoint(entity, 0),
                                                   DefinitionPoint(entity, 1), DefinitionPoint(entity, 2), text,
                                                   AcDbObjectId::kNull);
  SetDimensionDefaults(dimension);
  PlaceAnnotation(dimension, ecs, layer, color);
  return 1;
}

int ThreeDmImporter::ImportAngularDimension2(const ON_Object* object, const CString& layer,
                                             const AcCmColor& color) {
  const auto& entity = *static_cast<const ON_AngularDimension2*>(object);
  const ON_Xform ecs = EcsToWorld(entity);
  CString text = AngularText(entity.UserText());
  auto* dimension = new AcDb3PointAngularDimension(DefinitionPoint(entity, 0), DefinitionPoint(entity, 1),
                                                   DefinitionPoint(entity, 2), DefinitionPoint(entity, 3), text,
                                                   AcDbObjectId::kNull);
  if (entity.m_userpositionedtext && entity.PointCount() > 4) dimension->setTextPosition(DefinitionPoint(entity, 4));
  ApplyStyleAndTextMode(dimension, entity, DimStyleAt(entity.Index()));
  PlaceAnnotation(dimension, ecs, layer, color);
  return 1;
}

int ThreeDmImporter::ImportTextDot(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& dot = *static_cast<const ON_TextDot*>(object);
  const AcGePoint3d p = GeometryConverter::PointToAcGePoint(dot.Point());
  PlaceEntity(new AcDbPoint(p), layer, color);
  PlaceEntity(new AcDbText(p, CString(dot.TextString()), AcDbObjectId::kNull, 0.0, 0.0), layer, color);
  return 1;
}

int ThreeDmImporter::ImportAnnotationTextDot(const ON_Object* object, const CString& layer,
                                             const AcCmColor& color) {
  const auto& dot = *static_cast<const ON_AnnotationTextDot*>(object);
  const AcGePoint3d p = GeometryConverter::PointToAcGePoint(dot.m_point);
  PlaceEntity(new AcDbPoint(p), layer, color);
  PlaceEntity(new AcDbText(p, CString(dot.m_text), AcDbObjectId::kNull, 0.0, 0.0), layer, color);
  return 1;
}

int ThreeDmImporter::ImportAnnotationArrow(const ON_Object* object, const CString& layer, const AcCmColor& color) {
  const auto& arrow = *static_cast<const ON_AnnotationArrow*>(object);
  auto* leader = new AcDbLeader;
  const AcGePoint3d head = GeometryConverter::PointToAcGePoint(arrow.m_head);
  AcGeVector3d d = GeometryConverter::VectorToAcGeVector(arrow.Vector());
  d.normalize(AcGeContext::gTol);
  const double length = kArrowLeaderLength * leader->dimasz();
  leader->appendVertex(head);
  leader->appendVertex(AcGePoint3d(head.x - length * d.x, head.y - length * d.y, head.z - length * d.z));
  PlaceEntity(leader, layer, color);
  return 1;
}
