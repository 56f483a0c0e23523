// KelvStl: STL files into openNURBS meshes.
#include "KelvStl.h"

#include <climits>
#include <new>
#include <string>
#include <vector>

#include "stl/StlFileReader.h"
#include "win32/strconv.h"

namespace {

CString g_stlError;

int Fail(const CString& path, const std::string& reason) {
  g_stlError.Format(L"The STL file \"%s\" %s.", path.GetString(), arxhost::FromUtf8(reason).c_str());
  return 0;
}

void FillMesh(const kelvrash::stl::Mesh& source, ON_Mesh& mesh) {
  mesh.m_V.Reserve(static_cast<int>(source.vertices.size()));
  for (const auto& v : source.vertices) mesh.m_V.Append(ON_3fPoint(v[0], v[1], v[2]));
  mesh.m_F.Reserve(static_cast<int>(source.triangles.size()));
  for (const auto& t : source.triangles) {
    ON_MeshFace& face = mesh.m_F.AppendNew();
    face.vi[0] = static_cast<int>(t[0]);
    face.vi[1] = static_cast<int>(t[1]);
    face.vi[2] = face.vi[3] = static_cast<int>(t[2]);
  }
}

}  // namespace

CString KelvStl::GetError() { return g_stlError; }

int KelvStl::STLToMesh(CString path, ON_ClassArray<ON_Mesh>& meshes) {
  try {
    std::vector<kelvrash::stl::Mesh> read;
    std::string reason;
    if (!kelvrash::stl::ReadStlFile(arxhost::NativePath(path.str()), read, reason)) return Fail(path, reason);
    for (const auto& mesh : read) {
      if (mesh.vertices.size() > INT_MAX || mesh.triangles.size() > INT_MAX)
        return Fail(path, "has more triangles than a mesh can hold");
    }
    if (read.size() > static_cast<size_t>(INT_MAX - meshes.Count()))
      return Fail(path, "has more solids than the mesh array can hold");

    // Everything is built before the caller's array is touched, so that a
    // failure leaves it as it was.
    std::vector<ON_Mesh> built(read.size());
    for (size_t i = 0; i < read.size(); ++i) FillMesh(read[i], built[i]);
    meshes.Reserve(meshes.Count() + static_cast<int>(built.size()));
    for (auto& mesh : built) meshes.AppendNew() = std::move(mesh);
    return 1;
  } catch (const std::bad_alloc&) {
    return Fail(path, "cannot be read (there is not enough memory)");
  }
}
