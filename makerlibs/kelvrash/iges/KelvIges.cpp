#include "KelvIges.h"

#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "BrepFanOut.h"
#include "ChildRun.h"
#include "Convert.h"
#include "model/AtomicFile.h"
#include "model/WrittenModel.h"
#include "win32/strconv.h"

namespace {

CString& LastError() {
  static CString text;
  return text;
}

// The parser and the shape transfer run in a child process (ChildRun): a
// fault deep in Open CASCADE on a malformed file then costs that process,
// not the host, and a file that sends them into an endless loop is stopped.
// The child sends back the skipped counts and the finished model bytes;
// only this process writes the file.
struct ChildResult {
  std::map<int, int> skipped;
  std::string answer;  // the model bytes from modelAt on
  size_t modelAt = 0;
};

void PutU64(std::string& out, uint64_t v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); }

// The answer is the skipped counts, then the model packed right behind
// them: its bytes are made once, in the string that goes down the pipe.
// This runs in the conversion child, which ends with _exit right after its
// answer: the model it packs is left to that end. Open CASCADE's model is
// freed before the packing, so that its memory serves the answer.
bool ConvertForParent(const std::string& igesPath, std::string& answer, std::string& reason) {
  kelv::model::ModelMaker& maker = *new kelv::model::ModelMaker;
  kelv::iges::ConversionResult result;
  // This process is the conversion's alone, with no threads of its own by
  // the time B-reps are transferred: workers may be forked from it.
  kelv::iges::FanOutSettings().enabled = true;
  if (!kelv::iges::ConvertIgesFile(igesPath, maker, result, reason)) return false;
  // The Open CASCADE model is gone by now; its memory is not held while the
  // answer is made.
  igesread::GiveBackFreedMemory();
  answer.clear();
  PutU64(answer, result.skipped.size());
  for (auto [type, count] : result.skipped) {
    PutU64(answer, static_cast<uint64_t>(type));
    PutU64(answer, static_cast<uint64_t>(count));
  }
  kelv::model::PackModelInto(maker.Model(), answer);
  return true;
}

// Takes the answer over; the model bytes stay where they are in it.
bool Parse(std::string data, ChildResult& r) {
  size_t at = 0;
  auto u64 = [&](uint64_t& v) {
    if (data.size() - at < sizeof v) return false;
    std::memcpy(&v, data.data() + at, sizeof v);
    at += sizeof v;
    return true;
  };
  uint64_t n;
  if (!u64(n)) return false;
  for (uint64_t i = 0; i < n; ++i) {
    uint64_t type, count;
    if (!u64(type) || !u64(count)) return false;
    r.skipped[static_cast<int>(type)] = static_cast<int>(count);
  }
  r.answer = std::move(data);
  r.modelAt = at;
  return true;
}

// Returns false with reason when the conversion failed or the child did not report.
bool ConvertInChild(const std::string& igesPath, ChildResult& result, std::string& reason) {
  std::string answer;
  const auto work = [&](std::string& out, std::string& why) { return ConvertForParent(igesPath, out, why); };
  if (!igesread::RunInChild(work, igesread::LimitsForFile(igesPath), answer, reason)) return false;
  if (!Parse(std::move(answer), result)) {
    reason = "could not be read: the reader ended without a result";
    return false;
  }
  return true;
}

}  // namespace

KelvIges::KelvIges() = default;
// Bytes no reader took go with the converter.
KelvIges::~KelvIges() { kelv::model::DropWrittenModel(); }

CString KelvIges::GetError() { return LastError(); }
void KelvIges::SetError(const CString& text) { LastError() = text; }

int KelvIges::IGESTo3DM(CString igesPath, CString modelPath, int /*options*/) {
  m_skipped.clear();
  kelv::model::DropWrittenModel();
  const std::string display = arxhost::ToUtf8(igesPath.str());
  ChildResult result;
  std::string reason;
  if (!ConvertInChild(arxhost::NativePath(igesPath.str()), result, reason)) {
    SetError(CString(("The IGES file '" + display + "' " + reason + ".").c_str()));
    return 0;
  }
  m_skipped = result.skipped;
  const std::string target = arxhost::NativePath(modelPath.str());
  std::string error;
  const std::span<const uint8_t> model(reinterpret_cast<const uint8_t*>(result.answer.data()) + result.modelAt,
                                       result.answer.size() - result.modelAt);
  if (!kelv::WriteFileAtomically(target, model, error)) {
    SetError(CString(("The model file '" + arxhost::ToUtf8(modelPath.str()) + "' cannot be written (" + error + ").").c_str()));
    return 0;
  }
  // The import reads this file next: it takes these bytes instead.
  kelv::model::KeepWrittenModel(target, std::move(result.answer), result.modelAt);
  return 1;
}
