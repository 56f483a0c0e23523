#include "KelvIges.h"

#include "Convert.h"
#include "win32/strconv.h"

namespace {

CString& LastError() {
  static CString text;
  return text;
}

}  // namespace

KelvIges::KelvIges() = default;
KelvIges::~KelvIges() = default;

CString KelvIges::GetError() { return LastError(); }
void KelvIges::SetError(const CString& text) { LastError() = text; }

int KelvIges::IGESTo3DM(CString igesPath, CString modelPath, int /*options*/) {
  m_skipped.clear();
  const std::string display = arxhost::ToUtf8(igesPath.str());
  kelv::model::ModelMaker builder;
  kelv::iges::ConversionResult result;
  std::string reason;
  if (!kelv::iges::ConvertIgesFile(arxhost::NativePath(igesPath.str()), builder, result, reason)) {
    SetError(CString(("The IGES file '" + display + "' " + reason + ".").c_str()));
    return 0;
  }
  m_skipped = result.skipped;
  std::string error;
  if (!builder.Write(arxhost::NativePath(modelPath.str()), error)) {
    SetError(CString(error.c_str()));
    return 0;
  }
  return 1;
}
