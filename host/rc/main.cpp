// arxrc: compiles a module's .rc file into the C++ source of its resource
// image. Usage: arxrc INPUT.rc OUTPUT.cpp
#include <fstream>
#include <iostream>

#include "rcparser.h"
#include "win32/strconv.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: arxrc INPUT.rc OUTPUT.cpp\n";
    return 2;
  }
  arxrc::Parser parser;
  std::vector<arxhost::ResourceBlob> blobs;
  if (!parser.Load(argv[1]) || !parser.Compile(blobs)) {
    std::cerr << arxhost::ToUtf8(parser.ErrorText()) << ": error\n";
    return 1;
  }
  const std::string source = arxrc::GenerateSource(arxhost::BuildResourceImage(blobs), argv[1]);
  // Written beside and renamed, so that a failed run leaves no half file.
  const std::string temporary = std::string(argv[2]) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << source;
    if (!out.flush()) {
      std::cerr << "arxrc: cannot write " << temporary << "\n";
      std::remove(temporary.c_str());
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), argv[2]) != 0) {
    std::cerr << "arxrc: cannot write " << argv[2] << "\n";
    std::remove(temporary.c_str());
    return 1;
  }
  return 0;
}
