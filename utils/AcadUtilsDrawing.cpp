// AcadUtils: polyline and polyface records, polygon mesh to polyface mesh,
// erasing, string search, SAT exchange and curve sampling.
#include <cmath>

#include "AcadUtils.h"
#include "ErrorStatusText.h"
#include "arx/aced.h"

// Closes a new sub-object once its owner has it; one the owner refused is
// ours and goes.
static Acad::ErrorStatus CloseAppended(AcDbObject* object, Acad::ErrorStatus appended) {
  if (appended == Acad::eOk) {
    object->close();
  } else {
    delete object;
  }
  return appended;
}

Acad::ErrorStatus AcadUtils::Append3dPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& point) {
  AcDb3dPolylineVertex* vertex = new AcDb3dPolylineVertex(point);
  return CloseAppended(vertex, polyline->appendVertex(vertex));
}

Acad::ErrorStatus AcadUtils::AppendPolyFaceVertex(AcDbPolyFaceMesh* mesh, const AcGePoint3d& point) {
  AcDbPolyFaceMeshVertex* vertex = new AcDbPolyFaceMeshVertex(point);
  return CloseAppended(vertex, mesh->appendVertex(vertex));
}

Acad::ErrorStatus AcadUtils::AppendFaceRecord(AcDbPolyFaceMesh* mesh, int v0, int v1, int v2, int v3) {
  AcDbFaceRecord* face = new AcDbFaceRecord(static_cast<Adesk::Int16>(v0), static_cast<Adesk::Int16>(v1),
                                            static_cast<Adesk::Int16>(v2), static_cast<Adesk::Int16>(v3));
  return CloseAppended(face, mesh->appendFaceRecord(face));
}

int AcadUtils::PolygonMeshToPolyFaceMesh(AcDbPolygonMesh* source, AcDbPolyFaceMesh* destination) {
  int m = source->mSize();
  int n = source->nSize();
  bool mClosed = source->isMClosed();
  bool nClosed = source->isNClosed();

  int copied = 0;
  AcDbObjectIterator* it = source->vertexIterator();
  for (; !it->done(); it->step(false, true)) {
    AcDbObjectId id = it->objectId();
    AcDbObject* object = NULL;
    AcDbPolygonMeshVertex* vertex = NULL;
    bool opened = false;
    if (!id.isNull()) {
      opened = acdbOpenObject(object, id, AcDbPolygonMeshVertex::desc(), AcDb::kForRead) == Acad::eOk;
      if (opened) vertex = AcDbPolygonMeshVertex::cast(object);
    } else {
      // A mesh not yet in a drawing holds its vertices itself.
      vertex = AcDbPolygonMeshVertex::cast(it->entity());
    }
    // A vertex that cannot be read is not copied.
    if (vertex != NULL) {
      if (AppendPolyFaceVertex(destination, vertex->position()) == Acad::eOk) ++copied;
    }
    if (opened) object->close();
  }
  delete it;

  // The faces number the grid; they are only meaningful when every grid
  // vertex made it across.
  if (m <= 0 || n <= 0 || copied != m * n) return 1;
  for (int i = 0; i < m * n; ++i) {
    int row = i / n;
    int col = i % n;
    if (row < m - 1 && col < n - 1) {
      AppendFaceRecord(destination, i + 1, i + 2, i + n + 2, i + n + 1);
    } else if (row < m - 1 && col == n - 1 && nClosed) {
      AppendFaceRecord(destination, i + 1, i - n + 2, i + 2, i + n + 1);
    } else if (row == m - 1 && col < n - 1 && mClosed) {
      AppendFaceRecord(destination, i + 1, i + 2, i - (m - 1) * n + 2, i - (m - 1) * n + 1);
    }
  }
  if (mClosed && nClosed) AppendFaceRecord(destination, n, m * n, (m - 1) * n + 1, 1);
  return 1;
}

int AcadUtils::EraseEntity(AcDbObjectId id) {
  ads_name name = {0, 0};
  acdbGetAdsName(name, id);
  return acdbEntDel(name) == RTNORM ? 1 : 0;
}

int AcadUtils::EraseEntities(const AcArray<AcDbObjectId>& ids) {
  for (int i = 0; i < ids.length(); ++i) EraseEntity(ids[i]);
  return 1;
}

int AcadUtils::FindString(const CStringArray& list, CString value) {
  for (INT_PTR i = 0; i < list.GetSize(); ++i)
    if (list.GetAt(i).Compare(value) == 0) return static_cast<int>(i);
  return -1;
}

int AcadUtils::AddString(CStringArray& list, StringIndex& index, const CString& value) {
  int i = static_cast<int>(list.Add(value));
  index.try_emplace(value.str(), i);  // an equal string already there keeps its index
  return i;
}

int AcadUtils::FindString(const StringIndex& index, const CString& value) {
  // The value compares up to its first NUL, as CString::Compare takes it.
  auto it = index.find(std::wstring(value.GetString()));
  return it == index.end() ? -1 : it->second;
}

int AcadUtils::SampleCurve(AcDbCurve* curve, double step, AcArray<AcGePoint3d>& points) {
  double start = 0.0, end = 0.0, length = 0.0;
  curve->getStartParam(start);
  curve->getEndParam(end);
  curve->getDistAtParam(end, length);

  AcGePoint3d point;
  if (step > 0.0 && length > 0.0 && std::isfinite(step) && std::isfinite(length)) {
    double increment = step / length * (end - start);
    // A step far below the curve's length would never end in practice.
    const double maxPoints = 1.0e7;
    if ((end - start) / increment > maxPoints) increment = (end - start) / maxPoints;
    for (double t = start; end > t; t += increment) {
      curve->getPointAtParam(t, point);
      points.append(point);
    }
  } else if (end > start) {
    // Without a usable step or length: the start point, then the end point.
    curve->getPointAtParam(start, point);
    points.append(point);
  }
  curve->getPointAtParam(end, point);
  points.append(point);
  return 1;
}

int AcadUtils::ImportSatFile(const CString& path, const AcGeMatrix3d& xform, int zoomExtents) {
  AcArray<void*> entities;
  Acad::ErrorStatus es = AcDbBody::acisIn(path, entities);
  if (es != Acad::eOk) {
    SetError(ErrorStatusText::GetText(es));
    return 0;
  }
  for (int i = 0; i < entities.length(); ++i) {
    AcDbEntity* entity = static_cast<AcDbEntity*>(entities[i]);
    entity->transformBy(xform);
    bool appended = false;
    AcDbBlockTable* blocks = NULL;
    if (acdbHostApplicationServices()->workingDatabase()->getSymbolTable(blocks, AcDb::kForRead) == Acad::eOk) {
      AcDbBlockTableRecord* modelSpace = NULL;
      Acad::ErrorStatus opened = blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
      blocks->close();
      if (opened == Acad::eOk) {
        appended = modelSpace->appendAcDbEntity(entity) == Acad::eOk;
        modelSpace->close();
      }
    }
    // An entity that did not make it into the drawing is still ours.
    if (appended) {
      entity->close();
    } else {
      delete entity;
    }
  }
  if (zoomExtents != 0) acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE);
  if (entities.length() == 0) {
    SetError(L"No entites imported");
    return 0;
  }
  return 1;
}

int AcadUtils::ExportSatFile(const AcArray<AcDbObjectId>& ids, const CString& path) {
  AcArray<void*> entities;
  for (int i = 0; i < ids.length(); ++i) {
    AcDbEntity* entity = NULL;
    // An entity that cannot be opened is left out of the file.
    if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForRead, false) == Acad::eOk) entities.append(entity);
  }
  Acad::ErrorStatus es = AcDbBody::acisOut(path, entities);
  for (int i = 0; i < entities.length(); ++i) static_cast<AcDbEntity*>(entities[i])->close();
  if (es != Acad::eOk) {
    SetError(ErrorStatusText::GetText(es));
    return 0;
  }
  return 1;
}
