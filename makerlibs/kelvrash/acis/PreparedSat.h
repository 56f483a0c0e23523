#pragma once
// The SAT records of a B-rep, made before the file is asked for: the model
// reader makes them on other threads for the B-reps it is about to hand out,
// and the SAT writer takes them instead of making them once more. The file
// itself, with the time of writing in its header, is still written when
// asked for.
#include <optional>
#include <string>

#include "acis/SatText.h"
#include "opennurbs.h"

namespace kelv::acis {

struct PreparedSat {
  bool ok = false;
  std::string failure;  // why the B-rep cannot be written, when not ok
  SatDocument doc;
};

// The checks and the conversion of the SAT writer, short of the file.
PreparedSat PrepareSat(const ON_Brep& brep);

// Kept for a B-rep that stays alive and unchanged until it is taken or
// forgotten; taking removes it.
void KeepPreparedSat(const ON_Brep* brep, PreparedSat prepared);
std::optional<PreparedSat> TakePreparedSat(const ON_Brep* brep);
void ForgetPreparedSats();

}  // namespace kelv::acis
