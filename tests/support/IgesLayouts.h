#pragma once
// Layouts of IGES text that real writers use and the standard allows only
// in part, made from a well-formed file for the tests of both import paths.
#include <string>

// The parameter text of every record moved right so that its last
// delimiter lands in column 65, as some writers lay it out.
inline std::string DelimitersInColumn65(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    size_t j = text.find('\n', i);
    std::string line = text.substr(i, j - i);
    if (line.size() == 80 && line[72] == 'P') {
      std::string data = line.substr(0, 64);
      data.erase(data.find_last_not_of(' ') + 1);
      data.insert(0, 65 - data.size(), ' ');
      line = data + line.substr(65);
    }
    out += line + "\n";
    i = j + 1;
  }
  return out;
}
