// The 2D path on a large B-rep model: copies of the corpus's hammer, one
// IGES file, against Open CASCADE's ReadFile and TransferRoots of the same
// file. Each measurement is a process of its own, run in pairs (ours, then
// the baseline), so that the peak memory of each is its own: for the 2D path
// the importing process and the conversion child together. Prints the
// medians of: the 2D path's time (IGESTo3DM and the model importer), the
// same with the DXF save, Open CASCADE's read and transfer, the ratio of each
// pair, and the peak memory of both.
//   bench_brep_model [copies, default 40] [runs, default 5] [source IGES]
//   bench_brep_model --write COPIES SOURCE FILE    only writes the model
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <IGESControl_Reader.hxx>
#include <Interface_InterfaceModel.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>

#include "BenchSupport.h"
#include "BrepModel.h"
#include "KelvIges.h"
#include "ThreeDmImporter.h"
#include "arx/dbDatabase.h"
#include "arx/dbInspector.h"
#include "dxf/DxfOut.h"
#include "win32/transcript.h"

namespace fs = std::filesystem;

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double PeakMiB(int who) {
  rusage use{};
  getrusage(who, &use);
  return use.ru_maxrss / 1024.0;
}

// Processor seconds of the reaped children.
double ChildSeconds() {
  rusage use{};
  getrusage(RUSAGE_CHILDREN, &use);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// Prints: seconds, 0, peak MiB, 0, entities, roots, shapes.
int ReadAndTransfer(const char* iges) {
  Message::DefaultMessenger()->ChangePrinters().Clear();
  double start = Now();
  IGESControl_Reader reader;
  if (reader.ReadFile(iges) != IFSelect_RetDone) return 1;
  const int roots = reader.NbRootsForTransfer();
  reader.TransferRoots();
  std::printf("%.6f 0 %.1f 0 %d %d %d\n", Now() - start, PeakMiB(RUSAGE_SELF), reader.Model()->NbEntities(), roots,
              reader.NbShapes());
  return 0;
}

// Prints: import seconds, save seconds, peak MiB of this process after the
// import, of the conversion child, of this process after the save, and the
// seconds of the conversion alone, the model file's size in MB, the
// conversion child's processor seconds (user and system, all its threads).
int TwoD(const char* iges, const char* folder) {
  ::setenv("TEMP", folder, 1);  // where the B-rep handler writes its SAT file, as the host sets it
  arxhost::Transcript::Capture quiet;  // the importer's summary lines
  const fs::path dir = folder;
  const CString model((dir / "bench_brep.k3m").c_str());
  double start = Now();
  KelvIges converter;
  int ok = converter.IGESTo3DM(CString(iges), model, 4);
  const double converted = Now();
  ok = ok && ThreeDmImporter().ImportFile(model, 0, 0, 0, 0);
  double imported = Now();
  const double importMiB = PeakMiB(RUSAGE_SELF);
  bench::ReapChildren();
  std::error_code ec;
  const double modelMB = static_cast<double>(fs::file_size(dir / "bench_brep.k3m", ec)) / 1e6;
  fs::remove(dir / "bench_brep.k3m", ec);
  std::string error =
      arxhost::dxf::SaveAsDxf(*acdbHostApplicationServices()->workingDatabase(), (dir / "bench_brep.dxf").string());
  double saved = Now();
  fs::remove(dir / "bench_brep.dxf", ec);
  if (!ok || !error.empty()) {
    std::fprintf(stderr, "2D path failed on %s %s\n", iges, error.c_str());
    return 1;
  }
  std::printf("%.6f %.6f %.1f %.1f %.1f %.6f %.1f %.6f\n", imported - start, saved - imported, importMiB,
              PeakMiB(RUSAGE_CHILDREN), PeakMiB(RUSAGE_SELF), converted - start, modelMB, ChildSeconds());
  return 0;
}

struct Sample {
  double v[8] = {};
};

bool Run(const std::string& command, Sample& s) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  int got = std::fscanf(pipe, "%lf %lf %lf %lf %lf %lf %lf %lf", &s.v[0], &s.v[1], &s.v[2], &s.v[3], &s.v[4], &s.v[5],
                        &s.v[6], &s.v[7]);
  return pclose(pipe) == 0 && got >= 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--occt") return ReadAndTransfer(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "--2d") return TwoD(argv[2], argv[3]);
  if (argc == 5 && std::string(argv[1]) == "--write") {
    int entities = 0;
    std::uintmax_t bytes = 0;
    std::string error = bench::WriteBrepModel(argv[3], argv[4], std::atoi(argv[2]), &entities, &bytes);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    std::printf("%s: %d entities, %ju bytes\n", argv[4], entities, bytes);
    return 0;
  }
  const int copies = std::max(1, argc > 1 ? std::atoi(argv[1]) : 40);
  const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
  const fs::path source = argc > 3 ? fs::path(argv[3]) : fs::path(TOLVANE_CORPUS_DIR) / "occt" / "hammer.iges";
  if (!fs::exists(source)) {
    std::printf("no %s: nothing to measure\n", source.c_str());
    return 0;
  }
  const fs::path self = fs::read_symlink("/proc/self/exe");
  const fs::path dir = fs::temp_directory_path() / ("bench_brep_model." + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path iges = dir / "model.igs";
  int entities = 0;
  std::uintmax_t bytes = 0;
  std::string error = bench::WriteBrepModel(source.string(), iges.string(), copies, &entities, &bytes);
  if (!error.empty()) {
    std::printf("%s\n", error.c_str());
    fs::remove_all(dir);
    return 1;
  }
  // The copies read as the source does, times their number.
  Sample one, all;
  if (!Run("'" + self.string() + "' --occt '" + source.string() + "'", one) ||
      !Run("'" + self.string() + "' --occt '" + iges.string() + "'", all)) {
    std::printf("Open CASCADE cannot read %s\n", iges.c_str());
    fs::remove_all(dir);
    return 1;
  }
  std::printf("%d copies of %s: %.1f MB, %d entities; Open CASCADE reads %.0f entities (%d x %.0f), %.0f roots "
              "(%d x %.0f), %.0f shapes (%d x %.0f)\n",
              copies, source.filename().c_str(), bytes / 1e6, entities, all.v[4], copies, one.v[4], all.v[5], copies,
              one.v[5], all.v[6], copies, one.v[6]);

  double modelMB = 0;
  std::vector<double> convert, childCpu, importer;
  std::vector<double> ours, withSave, occt, ratio, ratioSave, oursMiB, childMiB, savedMiB, occtMiB, memRatio,
      childRatio;
  for (int r = 0; r < runs; ++r) {
    Sample a, b;
    if (!Run("'" + self.string() + "' --2d '" + iges.string() + "' '" + dir.string() + "'", a) ||
        !Run("'" + self.string() + "' --occt '" + iges.string() + "'", b)) {
      std::printf("a run failed on %s\n", iges.c_str());
      fs::remove_all(dir);
      return 1;
    }
    ours.push_back(a.v[0]);
    convert.push_back(a.v[5]);
    childCpu.push_back(a.v[7]);
    importer.push_back(a.v[0] - a.v[5]);
    modelMB = a.v[6];
    withSave.push_back(a.v[0] + a.v[1]);
    occt.push_back(b.v[0]);
    ratio.push_back(a.v[0] / b.v[0]);
    ratioSave.push_back((a.v[0] + a.v[1]) / b.v[0]);
    oursMiB.push_back(a.v[2] + a.v[3]);
    childMiB.push_back(a.v[3]);
    savedMiB.push_back(a.v[4] + a.v[3]);
    occtMiB.push_back(b.v[2]);
    memRatio.push_back((a.v[2] + a.v[3]) / b.v[2]);
    childRatio.push_back(a.v[3] / b.v[2]);
  }
  std::printf("medians of %d paired runs\n", runs);
  std::printf("  2D path            %8.3f s   x%.2f of read and transfer\n", bench::Median(ours), bench::Median(ratio));
  std::printf("    its conversion     %8.3f s   (a model file of %.1f MB; the child's processor time %.3f s)\n",
              bench::Median(convert), modelMB, bench::Median(childCpu));
  std::printf("    the model importer %8.3f s\n", bench::Median(importer));
  std::printf("  2D path + DXF save %8.3f s   x%.2f\n", bench::Median(withSave), bench::Median(ratioSave));
  std::printf("  read and transfer  %8.3f s\n", bench::Median(occt));
  std::printf("  peak, both         %8.1f MiB x%.2f of read and transfer (%.1f MiB with the save)\n", bench::Median(oursMiB),
              bench::Median(memRatio), bench::Median(savedMiB));
  std::printf("  peak, child        %8.1f MiB x%.2f\n", bench::Median(childMiB), bench::Median(childRatio));
  std::printf("  read and transfer  %8.1f MiB\n", bench::Median(occtMiB));
  fs::remove_all(dir);
  return 0;
}
