// The 2D path on large generated IGES drawings (lines, arcs, notes, linear
// dimensions and subfigure instances) against Open CASCADE's ReadFile of the
// same file. Each measurement is a process of its own, run in pairs (ours,
// then the baseline), so that the peak memory of each is its own: for the 2D
// path the importing process and the conversion child together. Per size it
// prints the medians of: the 2D path's time and time per entity, ReadFile's
// time, the ratio of each pair, the DXF save time and import-and-save against
// ReadFile, and memory two ways: the sum of each process's own peak, and the
// largest sum of both seen at once (sampled, shared pages counted once),
// which is what the machine must hold. The times come from runs that are not
// sampled, the memory held at once from a second pair of runs that are.
//   bench_large_drawings [largest size, default 240000] [runs, default 3]
//   bench_large_drawings SIZE,SIZE,... [runs]     these sizes only
//   bench_large_drawings --write ENTITIES FILE    only writes a drawing
//   bench_large_drawings --timeline ENTITIES [STEP]  memory through one run
// Sizes go 2,400, 24,000, 240,000, 2,400,000 up to the largest asked for.
// Time per entity is compared with that of the first size of at least
// 24,000 entities.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <IGESControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>

#include "BenchSupport.h"
#include "KelvIges.h"
#include "LargeDrawing.h"
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

// What the allocator has handed out and not taken back, in bytes.
std::size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// Peak resident memory in MiB of this process and of its children, then
// when the conversion ended and what the import left allocated in bytes
// (0 where there is none).
void PrintPeaks(double converted = 0, std::size_t drawing = 0) {
  bench::ReapChildren();
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  std::printf(" %.1f %.1f %.6f %zu\n", self.ru_maxrss / 1024.0, children.ru_maxrss / 1024.0, converted, drawing);
}

int ReadOnly(const char* iges) {
  Message::DefaultMessenger()->ChangePrinters().Clear();
  double start = Now();
  IGESControl_Reader reader;
  reader.ReadFile(iges);
  std::printf("%.6f 0", Now() - start);
  PrintPeaks();
  return 0;
}

int TwoD(const char* iges, const char* folder) {
  arxhost::Transcript::Capture quiet;  // the importer's summary lines
  const fs::path dir = folder;
  const CString model((dir / "bench_large.k3m").c_str());
  const std::size_t before = HeapInUse();
  double start = Now();
  KelvIges converter;
  int ok = converter.IGESTo3DM(CString(iges), model, 4);
  double converted = Now();
  ok = ok && ThreeDmImporter().ImportFile(model, 0, 0, 0, 0);
  double imported = Now();
  const std::size_t drawing = HeapInUse() - std::min(before, HeapInUse());
  std::error_code ec;
  fs::remove(dir / "bench_large.k3m", ec);
  std::string error =
      arxhost::dxf::SaveAsDxf(*acdbHostApplicationServices()->workingDatabase(), (dir / "bench_large.dxf").string());
  double saved = Now();
  fs::remove(dir / "bench_large.dxf", ec);
  if (!ok || !error.empty()) {
    std::fprintf(stderr, "2D path failed on %s %s\n", iges, error.c_str());
    return 1;
  }
  std::printf("%.6f %.6f", imported - start, saved - imported);
  PrintPeaks(converted - start, drawing);
  return 0;
}

struct Sample {
  double seconds = 0, save = 0, selfMiB = 0, childMiB = 0, converted = 0, drawingBytes = 0, atOnceMiB = 0;
};

// A timed run is not sampled; a sampled run gives the memory held at once,
// and every sample to timeline when given.
bool Run(const std::vector<std::string>& args, Sample& s, bool sampled,
         std::vector<bench::MemorySample>* timeline = nullptr) {
  std::string output;
  std::uint64_t peak = 0;
  if (!bench::RunSampled(args, output, sampled ? &peak : nullptr, timeline)) return false;
  s.atOnceMiB = peak / 1048576.0;
  return std::sscanf(output.c_str(), "%lf %lf %lf %lf %lf %lf", &s.seconds, &s.save, &s.selfMiB, &s.childMiB,
                     &s.converted, &s.drawingBytes) == 6;
}

// One 2D run and one ReadFile of a drawing of the given size, with the
// memory of the importing process and of the conversion child through the
// run, a line every step seconds and at the largest sum.
int Timeline(const fs::path& self, int size, double step) {
  const fs::path dir = fs::temp_directory_path() / ("bench_large_drawings." + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path iges = dir / "drawing.igs";
  const int entities = bench::WriteLargeDrawing(iges, size);
  std::vector<bench::MemorySample> ours, theirs;
  Sample a, b;
  const bool ran = Run({self.string(), "--2d", iges.string(), dir.string()}, a, true, &ours) &&
                   Run({self.string(), "--read", iges.string()}, b, true, &theirs);
  fs::remove_all(dir);
  if (!ran) {
    std::printf("a run failed\n");
    return 1;
  }
  const auto mib = [](std::uint64_t bytes) { return bytes / 1048576.0; };
  std::printf("%d entities: conversion ends at %.2f s, import at %.2f s, save at %.2f s\n", entities, a.converted,
              a.seconds, a.seconds + a.save);
  std::printf("the drawing holds %.0f bytes per entity; the sum of both peaks is %.1f MiB\n",
              a.drawingBytes / entities, a.selfMiB + a.childMiB);
  std::printf("%8s %10s %10s %10s\n", "s", "host MiB", "child MiB", "sum MiB");
  size_t top = 0;
  for (size_t i = 0; i < ours.size(); ++i)
    if (ours[i].selfBytes + ours[i].childBytes > ours[top].selfBytes + ours[top].childBytes) top = i;
  double next = 0;
  for (size_t i = 0; i < ours.size(); ++i) {
    const auto& m = ours[i];
    if (m.seconds < next && i != top) continue;
    next = m.seconds + step;
    std::printf("%8.2f %10.1f %10.1f %10.1f%s\n", m.seconds, mib(m.selfBytes), mib(m.childBytes),
                mib(m.selfBytes + m.childBytes), i == top ? "   <- largest" : "");
  }
  std::uint64_t readPeak = 0, hostPeak = 0, childPeak = 0;
  for (const auto& m : theirs) readPeak = std::max(readPeak, m.selfBytes + m.childBytes);
  for (const auto& m : ours) {
    hostPeak = std::max(hostPeak, m.selfBytes);
    childPeak = std::max(childPeak, m.childBytes);
  }
  std::printf("sampled peaks: host %.1f MiB, child %.1f MiB, sum %.1f MiB (x%.2f of ReadFile)\n", mib(hostPeak),
              mib(childPeak), mib(hostPeak + childPeak), mib(hostPeak + childPeak) / mib(readPeak));
  std::printf("ReadFile: %.2f s, %.1f MiB at most; the 2D path %.1f MiB at most (x%.2f)\n", b.seconds, mib(readPeak),
              a.atOnceMiB, a.atOnceMiB / mib(readPeak));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--read") return ReadOnly(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "--2d") return TwoD(argv[2], argv[3]);
  if ((argc == 3 || argc == 4) && std::string(argv[1]) == "--timeline")
    return Timeline(fs::read_symlink("/proc/self/exe"), std::atoi(argv[2]), argc == 4 ? std::atof(argv[3]) : 0.1);
  if (argc == 4 && std::string(argv[1]) == "--write") {
    std::uintmax_t bytes = 0;
    int n = bench::WriteLargeDrawing(argv[3], std::atoi(argv[2]), &bytes);
    std::printf("%s: %d entities, %ju bytes\n", argv[3], n, bytes);
    return 0;
  }
  std::vector<int> sizes;
  if (argc > 1 && std::string(argv[1]).find(',') != std::string::npos) {
    for (const char* p = argv[1]; *p;) {
      char* end = nullptr;
      const long size = std::strtol(p, &end, 10);
      if (size > 0) sizes.push_back(static_cast<int>(size));
      p = *end == ',' ? end + 1 : end + (*end != 0);
    }
  } else {
    const int largest = argc > 1 ? std::atoi(argv[1]) : 240000;
    for (int size = 2400; size <= largest; size *= 10) sizes.push_back(size);
  }
  const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 3);
  const fs::path self = fs::read_symlink("/proc/self/exe");
  const fs::path dir = fs::temp_directory_path() / ("bench_large_drawings." + std::to_string(getpid()));
  fs::create_directories(dir);

  std::printf("%9s %8s %9s %9s %7s %9s %9s %8s %8s %9s %9s %9s %7s\n", "entities", "MB", "2D s", "us/ent", "x read",
              "read s", "save s", "x read", "2D MiB", "read MiB", "x read", "2D MiB", "x read");
  std::printf("%9s %8s %9s %9s %7s %9s %9s %8s %8s %9s %9s %9s %7s\n", "", "", "", "", "", "", "", "(+save)",
              "(peaks)", "", "", "(at once)", "");
  double firstPerEntity = 0, firstReadPerEntity = 0;
  for (int size : sizes) {
    const fs::path iges = dir / ("drawing" + std::to_string(size) + ".igs");
    std::uintmax_t bytes = 0;
    const int entities = bench::WriteLargeDrawing(iges, size, &bytes);
    std::vector<double> ours, read, save, ratio, withSave, oursMiB, readMiB, memRatio, atOnce, atOnceRatio;
    for (int r = 0; r < runs; ++r) {
      Sample a, b, heldA, heldB;
      const std::vector<std::string> ourRun = {self.string(), "--2d", iges.string(), dir.string()},
                                     readRun = {self.string(), "--read", iges.string()};
      if (!Run(ourRun, a, false) || !Run(readRun, b, false) || !Run(ourRun, heldA, true) ||
          !Run(readRun, heldB, true)) {
        std::printf("a run failed on %s\n", iges.c_str());
        return 1;
      }
      a.atOnceMiB = heldA.atOnceMiB;
      b.atOnceMiB = heldB.atOnceMiB;
      ours.push_back(a.seconds);
      save.push_back(a.save);
      read.push_back(b.seconds);
      ratio.push_back(a.seconds / b.seconds);
      withSave.push_back((a.seconds + a.save) / b.seconds);
      oursMiB.push_back(a.selfMiB + a.childMiB);
      readMiB.push_back(b.selfMiB);
      memRatio.push_back((a.selfMiB + a.childMiB) / b.selfMiB);
      atOnce.push_back(a.atOnceMiB);
      atOnceRatio.push_back(a.atOnceMiB / b.atOnceMiB);
    }
    const double perEntity = bench::Median(ours) / entities * 1e6, readPerEntity = bench::Median(read) / entities * 1e6;
    if (firstPerEntity == 0 && entities >= 24000) {
      firstPerEntity = perEntity;
      firstReadPerEntity = readPerEntity;
    }
    std::printf("%9d %8.1f %9.3f %9.2f %7.2f %9.3f %9.3f %8.2f %8.1f %9.1f %9.2f %9.1f %7.2f", entities,
                bytes / 1e6, bench::Median(ours), perEntity, bench::Median(ratio), bench::Median(read), bench::Median(save), bench::Median(withSave),
                bench::Median(oursMiB), bench::Median(readMiB), bench::Median(memRatio), bench::Median(atOnce), bench::Median(atOnceRatio));
    if (firstPerEntity > 0)
      std::printf("   us/ent x%.2f of 24,000 (ReadFile's x%.2f)", perEntity / firstPerEntity,
                  readPerEntity / firstReadPerEntity);
    std::printf("\n");
    std::fflush(stdout);
    fs::remove(iges);
  }
  fs::remove_all(dir);
  return 0;
}
