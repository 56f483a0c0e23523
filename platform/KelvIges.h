#pragma once
// IGES into the intermediate model file.
#include <map>

#include "mfc/CString.h"

class KelvIges {
 public:
  KelvIges();
  ~KelvIges();
  KelvIges(const KelvIges&) = delete;
  KelvIges& operator=(const KelvIges&) = delete;

  // Converts the IGES file at igesPath into a model file at modelPath.
  // 'options' is accepted for the callers' sake; the conversion always
  // writes the current model format. Returns 1 when the model file exists,
  // 0 (with GetError) otherwise; a failed run leaves nothing at modelPath.
  int IGESTo3DM(CString igesPath, CString modelPath, int options);

  // IGES entity types that the last conversion did not carry over, with
  // the number of entities of each.
  const std::map<int, int>& SkippedTypes() const { return m_skipped; }

  static CString GetError();
  static void SetError(const CString& text);

 private:
  std::map<int, int> m_skipped;
};
