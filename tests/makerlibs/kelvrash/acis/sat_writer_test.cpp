// B-reps written as SAT and read back by the host: the same topology, the
// right kind of entity, faces on the original surfaces with the right
// sense, loops that run around their faces, and clean failures.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "FullDisk.h"
#include "KelvAcis.h"
#include "SatShapes.h"
#include "TestSupport.h"
#include "acis/AcisGeometry.h"
#include "acis/AcisRecords.h"
#include "iges/ShapeToBrep.h"
#include "Kelv3dm.h"
#include "arx/dbheaders.h"
#include "win32/strconv.h"

using namespace testiges;
using namespace satshapes;
using arxhost::sat::Document;
using arxhost::sat::Record;

namespace {

std::vector<long> OfType(const Document& doc, const char* type) {
  std::vector<long> out;
  for (size_t i = 0; i < doc.records.size(); ++i)
    if (doc.records[i].type == type) out.push_back(static_cast<long>(i));
  return out;
}

const arxhost::sat::Field* Data(const Document& doc, long record, size_t i) {
  auto fields = arxhost::sat::DataFields(doc, doc.records[static_cast<size_t>(record)]);
  return i < fields.size() ? fields[i] : nullptr;
}
long Ptr(const Document& doc, long record, size_t i) {
  auto* f = Data(doc, record, i);
  return f ? f->pointer : -2;
}
std::string Word(const Document& doc, long record, size_t i) {
  auto* f = Data(doc, record, i);
  return f ? f->text : std::string();
}

AcGePoint3d VertexPoint(const Document& doc, long vertex) {
  long point = Ptr(doc, vertex, 1);
  auto fields = arxhost::sat::DataFields(doc, doc.records[static_cast<size_t>(point)]);
  return AcGePoint3d(std::stod(fields[0]->text), std::stod(fields[1]->text), std::stod(fields[2]->text));
}

ON_3dPoint On(const AcGePoint3d& p) { return ON_3dPoint(p.x, p.y, p.z); }

struct ReadBack {
  std::unique_ptr<AcDbEntity> entity;
  Document doc;
};

ReadBack WriteAndRead(const ON_Brep& brep, const TempFolder& dir) {
  ReadBack out;
  const std::string path = dir.File("brep.sat");
  EXPECT_EQ(KelvAcis::ConvertBrepToSAT(brep, CString(path.c_str()), 1, CString(L"")), 1)
      << arxhost::ToUtf8(KelvAcis::GetError().str());
  AcDbVoidPtrArray entities;
  EXPECT_EQ(AcDbBody::acisIn(std::filesystem::path(path).wstring().c_str(), entities), Acad::eOk);
  EXPECT_EQ(entities.length(), 1);
  for (int i = 0; i < entities.length(); ++i) {
    if (i == 0)
      out.entity.reset(static_cast<AcDbEntity*>(entities[i]));
    else
      delete static_cast<AcDbEntity*>(entities[i]);
  }
  if (!out.entity) return out;
  const arxhost::AcisModel* model = arxhost::AcisModelOf(out.entity.get());
  std::string error;
  auto doc = arxhost::sat::Parse(model->satText(), error);
  EXPECT_TRUE(doc.has_value()) << error;
  if (doc) out.doc = std::move(*doc);
  return out;
}

enum class Kind { Solid, Region, Body };

// The other way of orienting loops: each reversed face's loops are run
// backwards, so that they turn the other way about the surface's normal.
// B-reps come with either; the written SAT must not depend on it.
void FlipLoopsOfReversedFaces(ON_Brep& brep) {
  for (ON_BrepFace& face : brep.m_F) {
    if (!face.m_bRev) continue;
    for (int li : face.m_li) {
      ON_BrepLoop& loop = brep.m_L[li];
      std::reverse(loop.m_ti.begin(), loop.m_ti.end());
      for (int ti : loop.m_ti) {
        ON_BrepTrim& trim = brep.m_T[ti];
        ON_Curve* c = brep.m_C2[trim.m_c2i];
        c->Reverse();
        trim.m_domain = c->Domain();
        trim.m_bRev3d = !trim.m_bRev3d;
        std::swap(trim.m_vi[0], trim.m_vi[1]);
      }
    }
  }
}

}  // namespace

TEST(SatWriter, ShapesRoundTripThroughTheHost) {
  gp_Ax2 tilted(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 1));
  struct Case {
    const char* name;
    TopoDS_Shape shape;
    Kind kind;
    bool convex;  // every face normal points away from the centre of its bounding box
    bool flipLoops = false;
  } cases[] = {
      {"box", BRepPrimAPI_MakeBox(gp_Pnt(1, 2, 3), 4, 5, 6).Shape(), Kind::Solid, true},
      {"box, loops turned", BRepPrimAPI_MakeBox(gp_Pnt(1, 2, 3), 4, 5, 6).Shape(), Kind::Solid, true, true},
      {"cylinder, loops turned", BRepPrimAPI_MakeCylinder(tilted, 2, 5).Shape(), Kind::Solid, true, true},
      {"cylinder", BRepPrimAPI_MakeCylinder(tilted, 2, 5).Shape(), Kind::Solid, true},
      {"sphere", BRepPrimAPI_MakeSphere(tilted, 2.5).Shape(), Kind::Solid, true},
      {"torus", BRepPrimAPI_MakeTorus(tilted, 5, 1).Shape(), Kind::Solid, false},
      {"B-spline patch", BsplinePatch(), Kind::Body, false},
      {"plate with a hole", PlateWithHole(), Kind::Region, false},
      {"revolved B-spline", RevolvedSpline(), Kind::Solid, false},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<ON_Brep> brep = BrepOf(c.shape, dir);
    ASSERT_NE(brep, nullptr);
    if (c.flipLoops) FlipLoopsOfReversedFaces(*brep);
    ON_TextLog log;
    ASSERT_TRUE(brep->IsValid(&log)) << log.Text();
    const double tol = 1e-7 * Size(*brep);
    ReadBack back = WriteAndRead(*brep, dir);
    ASSERT_NE(back.entity, nullptr);
    switch (c.kind) {
      case Kind::Solid: EXPECT_NE(AcDb3dSolid::cast(back.entity.get()), nullptr); break;
      case Kind::Region: EXPECT_NE(AcDbRegion::cast(back.entity.get()), nullptr); break;
      case Kind::Body: EXPECT_NE(AcDbBody::cast(back.entity.get()), nullptr); break;
    }
    const Document& doc = back.doc;
    const std::vector<long> faces = OfType(doc, "face"), edges = OfType(doc, "edge"), vertices = OfType(doc, "vertex");
    ASSERT_EQ(static_cast<int>(faces.size()), brep->FaceCount());
    EXPECT_EQ(static_cast<int>(edges.size()), brep->EdgeCount());
    EXPECT_EQ(static_cast<int>(vertices.size()), brep->VertexCount());

    ON_BoundingBox box = brep->BoundingBox();
    const ON_3dPoint centre = box.Center();
    std::map<long, arxhost::sat::Surface> surfaceOfFace;
    for (size_t fi = 0; fi < faces.size(); ++fi) {
      SCOPED_TRACE("face " + std::to_string(fi));
      const ON_BrepFace& face = brep->m_F[static_cast<int>(fi)];
      const ON_Surface& s = *face.SurfaceOf();
      std::string error;
      auto surface = arxhost::sat::DecodeSurface(doc, Ptr(doc, faces[fi], 4), error);
      ASSERT_TRUE(surface.has_value()) << error;
      surfaceOfFace[faces[fi]] = *surface;
      const bool reversed = Word(doc, faces[fi], 5) == "reversed";
      // Points of the face: along its trims and in the middle of its domain.
      std::vector<ON_2dPoint> uv;
      for (int li : face.m_li)
        for (int ti : brep->m_L[li].m_ti) {
          const ON_BrepTrim& t = brep->m_T[ti];
          for (double a : {0.0, 0.3, 0.5, 0.8}) {
            ON_3dPoint p = t.TrimCurveOf()->PointAt(t.Domain().ParameterAt(a));
            uv.push_back(ON_2dPoint(p.x, p.y));
          }
        }
      uv.push_back(ON_2dPoint(s.Domain(0).Mid(), s.Domain(1).Mid()));
      for (const ON_2dPoint& q : uv) {
        const ON_3dPoint p = s.PointAt(q.x, q.y);
        double u = 0, v = 0;
        surface->project(AcGePoint3d(p.x, p.y, p.z), u, v);
        const AcGePoint3d onSat = surface->evaluate(u, v);
        EXPECT_LT(On(onSat).DistanceTo(p), tol) << "at " << q.x << ", " << q.y;
        // The face's side: the SAT normal with the face's sense against
        // openNURBS's normal with its face's.
        ON_3dPoint at;
        ON_3dVector ds, dt;
        s.Ev1Der(q.x, q.y, at, ds, dt);
        const bool atPole = std::min(ds.Length(), dt.Length()) <= 1e-9 * Size(*brep);
        ON_3dVector n = s.NormalAt(q.x, q.y) * (face.m_bRev ? -1.0 : 1.0);
        AcGeVector3d m = surface->normalAt(u, v) * (reversed ? -1.0 : 1.0);
        if (!atPole) {
          EXPECT_GT(n * ON_3dVector(m.x, m.y, m.z), 0.9) << "at " << q.x << ", " << q.y;
        }
        if (c.convex) {
          EXPECT_GT((p - centre) * ON_3dVector(m.x, m.y, m.z), 0.0);
        }
      }
    }

    // Edges: their curves run from their start vertex to their end vertex,
    // through points that lie on the faces that use them; coedges of a
    // closed edge pair up with opposite senses.
    for (long e : edges) {
      SCOPED_TRACE("edge record " + std::to_string(e));
      std::string error;
      auto curve = arxhost::sat::DecodeCurve(doc, Ptr(doc, e, 5), error);
      ASSERT_TRUE(curve.has_value()) << error;
      const double t0 = std::stod(Word(doc, e, 1)), t1 = std::stod(Word(doc, e, 3));
      EXPECT_LT(curve->evaluate(t0).distanceTo(VertexPoint(doc, Ptr(doc, e, 0))), tol);
      EXPECT_LT(curve->evaluate(t1).distanceTo(VertexPoint(doc, Ptr(doc, e, 2))), tol);
      const long first = Ptr(doc, e, 4);
      ASSERT_GE(first, 0);
      long coedge = first;
      int seen = 0;
      do {
        ASSERT_EQ(Ptr(doc, coedge, 3), e);
        const long face = Ptr(doc, Ptr(doc, coedge, 5), 2);
        const arxhost::sat::Surface& s = surfaceOfFace[face];
        for (double a : {0.25, 0.5, 0.75}) {
          AcGePoint3d p = curve->evaluate(t0 + a * (t1 - t0));
          double u = 0, v = 0;
          s.project(p, u, v);
          EXPECT_LT(s.evaluate(u, v).distanceTo(p), tol);
        }
        // A pcurve maps onto the coedge's ends.
        if (Ptr(doc, coedge, 6) >= 0) {
          bool pcReversed = false;
          auto pc = arxhost::sat::DecodePcurve(doc, Ptr(doc, coedge, 6), pcReversed, error);
          ASSERT_TRUE(pc.has_value()) << error;
          const bool coReversed = Word(doc, coedge, 4) == "reversed";
          AcGePoint3d start = pc->evaluate(pcReversed ? pc->end() : pc->start());
          AcGePoint3d end = VertexPoint(doc, Ptr(doc, e, coReversed ? 2 : 0));
          EXPECT_LT(s.evaluate(start.x, start.y).distanceTo(end), tol);
        }
        ++seen;
        long partner = Ptr(doc, coedge, 2);
        if (partner < 0) break;
        if (c.kind == Kind::Solid) {
          EXPECT_NE(Word(doc, coedge, 4), Word(doc, partner, 4));
        }
        coedge = partner;
      } while (coedge != first && seen < 8);
      if (c.kind == Kind::Solid) {
        EXPECT_EQ(seen, 2);
      }
    }

    // Planar loops run counter-clockwise about their face's outward normal
    // (outer loops) or clockwise (holes).
    for (size_t fi = 0; fi < faces.size(); ++fi) {
      const arxhost::sat::Surface& s = surfaceOfFace[faces[fi]];
      if (s.kind != arxhost::sat::SurfaceKind::Plane) continue;
      AcGeVector3d normal = s.normal * (Word(doc, faces[fi], 5) == "reversed" ? -1.0 : 1.0);
      bool outer = true;
      for (long loop = Ptr(doc, faces[fi], 1); loop >= 0; loop = Ptr(doc, loop, 0), outer = false) {
        std::vector<AcGePoint3d> pts;
        const long first = Ptr(doc, loop, 1);
        long coedge = first;
        do {
          const long edge = Ptr(doc, coedge, 3);
          const bool rev = Word(doc, coedge, 4) == "reversed";
          std::string error;
          auto curve = arxhost::sat::DecodeCurve(doc, Ptr(doc, edge, 5), error);
          ASSERT_TRUE(curve.has_value());
          double t0 = std::stod(Word(doc, edge, 1)), t1 = std::stod(Word(doc, edge, 3));
          for (int k = 0; k < 8; ++k) {
            double a = k / 8.0;
            pts.push_back(curve->evaluate(rev ? t1 + a * (t0 - t1) : t0 + a * (t1 - t0)));
          }
          coedge = Ptr(doc, coedge, 0);
        } while (coedge != first && pts.size() < 10000);
        AcGeVector3d area;
        for (size_t k = 0; k < pts.size(); ++k)
          area += pts[k].asVector().crossProduct(pts[(k + 1) % pts.size()].asVector());
        if (outer) {
          EXPECT_GT(area.dotProduct(normal), 0.0) << "face " << fi;
        } else {
          EXPECT_LT(area.dotProduct(normal), 0.0) << "face " << fi;
        }
      }
    }
  }
}

TEST(SatWriter, RefusesWhatItCannotWriteAndLeavesNoFile) {
  TempFolder dir;
  std::unique_ptr<ON_Brep> box = BrepOf(BRepPrimAPI_MakeBox(4, 5, 6).Shape(), dir);
  ASSERT_NE(box, nullptr);
  std::filesystem::remove(dir.File("shape.k3m"));
  ON_Brep broken(*box);
  broken.m_T[0].m_ei = broken.EdgeCount() + 3;  // a trim on an edge that does not exist
  ON_Brep empty;
  // A face without its loops: the bare surface is not the B-rep's face.
  ON_Brep bare(*box);
  bare.m_F[2].m_li.Empty();
  // Valid topology on geometry no file can hold.
  ON_Brep notFinite(*box);
  ON_LineCurve* line = ON_LineCurve::Cast(notFinite.m_C3[notFinite.m_E[0].m_c3i]);
  ASSERT_NE(line, nullptr);
  line->m_line.from.x = std::nan("");
  struct Case {
    const char* name;
    const ON_Brep* brep;
    std::string path;
    const char* reason;
  } cases[] = {
      {"invalid B-rep", &broken, dir.File("invalid.sat"), "the B-rep is not valid"},
      {"face without loops", &bare, dir.File("bare.sat"), "the B-rep is not valid (ON_Brep: face 2 is not valid)"},
      {"empty B-rep", &empty, dir.File("empty.sat"), "the B-rep has no faces"},
      {"geometry that is not finite", &notFinite, dir.File("nan.sat"),
       "the B-rep cannot be expressed in SAT: edge 0: an edge has an end point that is not a finite number"},
      {"missing folder", box.get(), dir.File("missing/box.sat"), "cannot create a temporary file beside it"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KelvAcis::SetError(CString(L""));
    EXPECT_EQ(KelvAcis::ConvertBrepToSAT(*c.brep, CString(c.path.c_str()), 1, CString(L"")), 0);
    const std::string text = arxhost::ToUtf8(KelvAcis::GetError().str());
    EXPECT_NE(text.find("The SAT file \"" + c.path + "\" was not written: "), std::string::npos) << text;
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    // Neither the file nor a temporary beside it.
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << text;
  }
  // A good B-rep replaces an older file at the path in one step.
  {
    std::ofstream(dir.File("box.sat")) << "old";
  }
  ASSERT_EQ(KelvAcis::ConvertBrepToSAT(*box, CString(dir.File("box.sat").c_str()), 1, CString(L"")), 1);
  std::ifstream in(dir.File("box.sat"));
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "700 0 1 0");
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.Path())) (void)entry, ++files;
  EXPECT_EQ(files, 1);
}

// The writer stopped by a full disk names the full disk, and keeps the file
// that was at the path.
TEST(SatWriter, AFullDiskIsSaidAndTheOldFileStays) {
  TempFolder dir;
  std::unique_ptr<ON_Brep> box = BrepOf(BRepPrimAPI_MakeBox(4, 5, 6).Shape(), dir);
  ASSERT_NE(box, nullptr);
  std::filesystem::remove(dir.File("shape.k3m"));
  const std::string path = dir.File("box.sat");
  {
    std::ofstream(path) << "old";
  }
  int written;
  {
    FullDisk full(256);
    written = KelvAcis::ConvertBrepToSAT(*box, CString(path.c_str()), 1, CString(L""));
  }
  EXPECT_EQ(written, 0);
  const std::string text = arxhost::ToUtf8(KelvAcis::GetError().str());
  EXPECT_NE(text.find("The SAT file \"" + path + "\" was not written: the disk is full"), std::string::npos) << text;
  std::ifstream in(path);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "old");
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.Path())) (void)entry, ++files;
  EXPECT_EQ(files, 1);
  // A file that was not there is not left behind half written, and errno
  // still tells the importer that the disk is full.
  const std::string fresh = dir.File("fresh.sat");
  int cause = 0;
  {
    FullDisk full(256);
    errno = 0;
    written = KelvAcis::ConvertBrepToSAT(*box, CString(fresh.c_str()), 1, CString(L""));
    cause = errno;
  }
  EXPECT_EQ(written, 0);
  EXPECT_TRUE(cause == ENOSPC || cause == EFBIG) << cause;
  EXPECT_NE(arxhost::ToUtf8(KelvAcis::GetError().str()).find("was not written: the disk is full"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(fresh));
  files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.Path())) (void)entry, ++files;
  EXPECT_EQ(files, 1);
}

TEST(SatWriter, SolidsExplodeIntoTheirEdgesSplinesIncluded) {
  TempFolder dir;
  struct Case {
    const char* name;
    TopoDS_Shape shape;
    std::map<std::string, int> pieces;
  } cases[] = {
      {"cylinder", BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(1, 2, 3), gp_Dir(0, 1, 1)), 2, 5).Shape(),
       {{"AcDbCircle", 2}, {"AcDbLine", 1}}},
      {"revolved B-spline", RevolvedSpline(), {{"AcDbSpline", 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<ON_Brep> brep = BrepOf(c.shape, dir);
    ASSERT_NE(brep, nullptr);
    ReadBack back = WriteAndRead(*brep, dir);
    ASSERT_NE(AcDb3dSolid::cast(back.entity.get()), nullptr);
    AcDbVoidPtrArray pieces;
    ASSERT_EQ(back.entity->explode(pieces), Acad::eOk);
    std::map<std::string, int> kinds;
    for (void* p : pieces) {
      auto* e = static_cast<AcDbEntity*>(p);
      ++kinds[arxhost::ToUtf8(e->isA()->name())];
      // Every open piece runs between vertices of the B-rep.
      if (auto* curve = AcDbCurve::cast(e); curve && !AcDbCircle::cast(e)) {
        AcGePoint3d a, b;
        ASSERT_EQ(curve->getStartPoint(a), Acad::eOk);
        ASSERT_EQ(curve->getEndPoint(b), Acad::eOk);
        for (const AcGePoint3d& q : {a, b}) {
          double nearest = 1e300;
          for (const ON_BrepVertex& v : brep->m_V) nearest = std::min(nearest, v.Point().DistanceTo(On(q)));
          EXPECT_LT(nearest, 1e-9 * Size(*brep));
        }
      }
      delete e;
    }
    EXPECT_EQ(kinds, c.pieces);
  }
}

// The model reader makes the SAT records of the B-reps it is about to hand
// out on other threads. The files must be those of B-reps never read from
// a model, whatever the order in which the objects are asked for, also
// beyond the reader's lead and for the same B-rep written twice.
TEST(SatWriter, BrepsReadFromAModelWriteTheFilesOfTheirCopies) {
  TempFolder dir;
  const TopoDS_Shape shapes[] = {BsplinePatch(), PlateWithHole(), RevolvedSpline(),
                                 BRepPrimAPI_MakeBox(gp_Pnt(1, 2, 3), 4, 5, 6).Shape()};
  kelv::model::ModelMaker m;
  const int count = 60;
  for (int i = 0; i < count; ++i) {
    kelv::model::BrepT brep;
    ASSERT_TRUE(kelv::iges::ShapeToBrep(shapes[i % 4], brep));
    kelv::model::GeometryUnion g;
    g.Set(brep);
    m.AddObject(std::move(g));
    if (i % 7 == 0) m.AddObject(kelv::model::MakeLine(kelv::model::V3(0, 0), kelv::model::V3(i, 1)));
  }
  std::string error;
  ASSERT_TRUE(m.Write(dir.File("many.k3m"), error)) << error;
  // The file without its header, whose second line holds the time of writing.
  auto body = [&](const ON_Brep& brep) {
    const std::string path = dir.File("one.sat");
    EXPECT_EQ(KelvAcis::ConvertBrepToSAT(brep, CString(path.c_str()), 1, CString(L"")), 1);
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return text.substr(text.find('\n', text.find('\n') + 1));
  };
  ON_3dmProperties props;
  ASSERT_EQ(Kelv3dm::ReadStart(CString(dir.File("many.k3m").c_str()), props), 1);
  const int objects = Kelv3dm::ReadGetObjectTableSize();
  std::vector<int> order{objects - 1, objects / 2};
  for (int i = 0; i < objects; ++i) order.push_back(i);
  order.push_back(3);
  std::set<int> breps;
  for (int index : order) {
    const auto* brep = dynamic_cast<const ON_Brep*>(Kelv3dm::ReadGetObject(index));
    if (!brep) continue;
    breps.insert(index);
    const ON_Brep copy(*brep);
    EXPECT_EQ(body(*brep), body(copy)) << "object " << index;
  }
  Kelv3dm::ReadEnd();
  EXPECT_EQ(static_cast<int>(breps.size()), count);
}
