// DXFIN of drawings of growing size (one block definition and one insert per
// step, on many layers, as drawings with many dimensions hold): the time per
// entity should stay flat as the drawing grows.
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "arx/dbDatabase.h"
#include "arx/dbInspector.h"
#include "dxf/DxfIn.h"

namespace {

std::string Drawing(int n) {
  std::string text = "  0\nSECTION\n  2\nBLOCKS\n";
  for (int i = 0; i < n; ++i)
    text += "  0\nBLOCK\n  2\n*D" + std::to_string(i) + "\n 10\n0\n 20\n0\n 30\n0\n  0\nLINE\n  8\nL" +
            std::to_string(i % 1000) + "\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n  0\nENDBLK\n";
  text += "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  for (int i = 0; i < n; ++i)
    text += "  0\nINSERT\n  8\nL" + std::to_string(i % 1000) + "\n  2\n*D" + std::to_string(i) + "\n 10\n" +
            std::to_string(i) + "\n 20\n0\n 30\n0\n";
  return text + "  0\nENDSEC\n  0\nEOF\n";
}

}  // namespace

int main() {
  std::printf("%10s %12s %10s %14s\n", "blocks", "bytes", "seconds", "us per block");
  double first = 0.0;
  for (int n : {2500, 5000, 10000, 20000, 40000}) {
    std::string text = Drawing(n);
    double seconds = bench::MedianSeconds(3, [&] {
      arxhost::ResetWorkingDatabase();
      auto result = arxhost::dxf::ReadDxfText(*acdbHostApplicationServices()->workingDatabase(), text);
      if (!result.error.empty()) std::printf("error: %s\n", result.error.c_str());
    });
    double perBlock = seconds / n * 1e6;
    if (first == 0.0) first = perBlock;
    std::printf("%10d %12zu %10.4f %14.2f (x%.2f of the smallest)\n", n, text.size(), seconds, perBlock,
                perBlock / first);
  }
  arxhost::ResetWorkingDatabase();
  return 0;
}
