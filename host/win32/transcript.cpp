#include "win32/transcript.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "win32/strconv.h"

namespace arxhost {
namespace {

std::vector<Transcript::Capture*>& Captures() {
  static std::vector<Transcript::Capture*> captures;
  return captures;
}

}  // namespace

void Transcript::Write(std::wstring_view text) {
  if (text.empty()) return;
  auto& captures = Captures();
  if (captures.empty()) {
    const std::string utf8 = ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
    return;
  }
  for (Capture* c : captures) c->text_.append(text);
}

Transcript::Capture::Capture() { Captures().push_back(this); }

Transcript::Capture::~Capture() {
  auto& captures = Captures();
  captures.erase(std::remove(captures.begin(), captures.end(), this), captures.end());
}

}  // namespace arxhost
