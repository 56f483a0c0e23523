// The three import paths on the largest public IGES files, each against a
// baseline doing only Open CASCADE's part of the same work:
//   2D path      IGESTo3DM + the model importer   vs  ReadFile
//   edge path    BrennIges::Read + edge curves    vs  ReadFile + TransferRoots
//   mesh path    Read + STL + meshes + 3D faces   vs  ReadFile + TransferRoots + mesh + STL
// The mesh baseline meshes the same shapes as the mesh path, one after the
// other on one thread, with the same deflections, and writes each as an
// ASCII STL solid of its own with Open CASCADE's writer; the triangles both
// wrote are counted to show it is the same work.
// Prints the times and the ratios. The import paths read the file in a
// fresh child process; Open CASCADE's part is timed twice: in this process,
// warm from the runs before, and in a fresh child of its own, as the paths
// do it ("child" columns). The three run in turn, run after run.
//   bench_import_paths [count of files, default 3] [runs per file, default 3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "BenchSupport.h"

#include <BRepMesh_IncrementalMesh.hxx>
#include <Bnd_Box.hxx>
#include <BRepBndLib.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESModel.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <StlAPI_Writer.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_MapOfShape.hxx>

#include "Brennic90Ux64.h"
#include "GeometryConverter.h"
#include "Kelvrash90Ux64.h"
#include "PlacedMembers.h"
#include "ShapeEdgeConverter.h"
#include "ShapeTriangles.h"
#include "ThreeDmImporter.h"
#include "arx/dbInspector.h"
#include "win32/transcript.h"

namespace fs = std::filesystem;

namespace {

struct Medians {
  double ours, occt, occtChild;
};

// The median times of ours, Open CASCADE's part and the same in a child,
// run in turn; each run starts from an empty drawing.
template <class Ours, class Occt>
Medians Timed(int runs, Ours&& ours, Occt&& occt) {
  std::vector<double> t[3];
  const auto time = [](auto&& f) {
    arxhost::ResetWorkingDatabase();
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  // Done once the child has closed its end of a pipe, as the paths' child
  // does after its answer; its exit is waited for outside the time.
  pid_t child = -1;
  const auto inChild = [&occt, &child] {
    std::fflush(nullptr);
    int fds[2];
    if (::pipe(fds) != 0) return;
    child = ::fork();
    if (child == 0) {
      ::close(fds[0]);
      occt();
      ::close(fds[1]);
      ::_exit(0);
    }
    ::close(fds[1]);
    char byte;
    while (::read(fds[0], &byte, 1) > 0) {
    }
    ::close(fds[0]);
  };
  for (int i = 0; i < runs; ++i) {
    t[0].push_back(time(ours));
    t[1].push_back(time(occt));
    t[2].push_back(time(inChild));
    int status = 0;
    if (child > 0) ::waitpid(child, &status, 0);
  }
  const auto median = [](std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  return {median(t[0]), median(t[1]), median(t[2])};
}


void OcctRead(const fs::path& path, bool transfer) {
  IGESControl_Reader reader;
  reader.ReadFile(path.c_str());
  if (transfer) reader.TransferRoots();
}

// Read and transfer in the file's own unit, as the mesh path does; then each
// shape the mesh path meshes, meshed alone and written to a file of its own
// in the folder.
void OcctMesh(const fs::path& path, const fs::path& folder) {
  IGESControl_Reader reader;
  reader.ReadFile(path.c_str());
  const Handle(IGESData_IGESModel) model = reader.IGESModel();
  if (model.IsNull()) return;
  IGESData_GlobalSection global = model->GlobalSection();
  if (global.UnitValue() > 0.0) {
    global.SetCascadeUnit(global.UnitValue());
    model->SetGlobalSection(global);
  }
  reader.TransferRoots();
  std::vector<TopoDS_Shape> shapes;
  TopTools_MapOfShape seen;
  for (int i = 1; i <= reader.NbShapes(); ++i) brennic::AppendPlacedMembers(reader.Shape(i), seen, shapes);
  for (size_t i = 0; i < shapes.size(); ++i) {
    const TopoDS_Shape& shape = shapes[i];
    if (!TopExp_Explorer(shape, TopAbs_FACE).More()) continue;
    const double deflection = brennic::MeshDeflection(shape);
    if (!(deflection > 0.0)) continue;
    BRepMesh_IncrementalMesh(shape, deflection, false, brennic::kAngularDeflection, false);
    StlAPI_Writer().Write(shape, (folder / ("shape_" + std::to_string(i + 1) + ".stl")).c_str());
  }
}

// The facets of the ASCII STL files: the file, or the files in the folder.
long FacetCount(const fs::path& path) {
  long count = 0;
  const auto countIn = [&count](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (size_t at = text.find("endfacet"); at != std::string::npos; at = text.find("endfacet", at + 8)) ++count;
  };
  std::error_code ec;
  if (fs::is_directory(path, ec))
    for (const auto& e : fs::directory_iterator(path, ec)) countIn(e.path());
  else
    countIn(path);
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 3;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const fs::path corpus = TOLVANE_CORPUS_DIR;
  if (!fs::exists(corpus)) {
    std::printf("no corpus at %s\n", corpus.c_str());
    return 0;
  }
  Message::DefaultMessenger()->ChangePrinters().Clear();
  arxhost::Transcript::Capture quiet;  // the importer's summary lines
  const auto files = bench::LargestIgesFiles(corpus, count);

  const fs::path temp = fs::temp_directory_path();
  const CString model((temp / "bench_import_paths.k3m").c_str());
  const CString stl((temp / "bench_import_paths.stl").c_str());
  const fs::path occtStl = temp / "bench_import_paths_occt";
  std::printf("%-34s %-5s %10s %10s %7s %12s %7s %10s %10s\n", "file", "path", "ours s", "occt s", "ratio",
              "occt child s", "ratio", "ours tri", "occt tri");
  for (auto& [size, path] : files) {
    const CString iges(path.c_str());
    struct Path {
      const char* name;
      Medians t;
    } paths[3] = {};
    paths[0] = {"2D", Timed(
                          runs,
                          [&] {
                            KelvIges converter;
                            if (converter.IGESTo3DM(iges, model, 4)) ThreeDmImporter().ImportFile(model, 1, 0, 0, 0);
                          },
                          [&] { OcctRead(path, false); })};
    paths[1] = {"edges", Timed(
                             runs,
                             [&] {
                               Handle_TopTools_HSequenceOfShape shapes = new TopTools_HSequenceOfShape;
                               int n = 0;
                               if (BrennIges::Read(iges, shapes, 1)) ShapeEdgeConverter::ConvertShapes(shapes, &n);
                             },
                             [&] { OcctRead(path, true); })};
    // Emptied of the last file's solids; the runs write the same names again.
    std::error_code ec;
    fs::remove_all(occtStl, ec);
    fs::create_directory(occtStl, ec);
    paths[2] = {"mesh", Timed(
                            runs,
                            [&] {
                              Handle_TopTools_HSequenceOfShape shapes = new TopTools_HSequenceOfShape;
                              ON_ClassArray<ON_Mesh> meshes;
                              if (BrennIges::Read(iges, shapes, 1) && BrennStl::Write(stl, shapes, 1) &&
                                  KelvStl::STLToMesh(stl, meshes))
                                for (int i = 0; i < meshes.Count(); ++i)
                                  GeometryConverter::MeshToFaces(meshes[i], L"", AcCmColor());
                            },
                            [&] { OcctMesh(path, occtStl); })};
    for (const Path& p : paths) {
      std::printf("%-34s %-5s %10.3f %10.3f %7.2f %12.3f %7.2f", path.filename().c_str(), p.name, p.t.ours, p.t.occt,
                  p.t.occt > 0 ? p.t.ours / p.t.occt : 0.0, p.t.occtChild,
                  p.t.occtChild > 0 ? p.t.ours / p.t.occtChild : 0.0);
      if (&p == &paths[2])
        std::printf(" %10ld %10ld", FacetCount(temp / "bench_import_paths.stl"), FacetCount(occtStl));
      std::printf("\n");
    }
    std::fflush(stdout);
  }
  std::error_code ec;
  fs::remove(temp / "bench_import_paths.k3m", ec);
  fs::remove(temp / "bench_import_paths.stl", ec);
  fs::remove_all(occtStl, ec);
  return 0;
}
