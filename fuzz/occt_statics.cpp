// Open CASCADE registers its IGES settings, controllers and shape-healing
// resources once per process and never frees them; that is not a leak of
// ours. They are made here, before the first input, with the leak checker
// looking away, so that the targets run with the leak checker on.
#include <IGESControl_Reader.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <sanitizer/lsan_interface.h>

#include <string>

#include "ChildRun.h"

namespace {

const bool kRegistered = [] {
  __lsan_disable();
  Message::DefaultMessenger()->ChangePrinters().Clear();
  { IGESControl_Reader reader; }
  // The reading children's prepared reader is made on the first run and
  // kept for the process's life.
  std::string answer, reason;
  igesread::RunInChild([](std::string&, std::string&) { return true; }, igesread::ChildLimits{std::chrono::seconds(30), 0},
                       answer, reason);
  __lsan_enable();
  return true;
}();

}  // namespace

// Open CASCADE's IGES record reader keeps its buffers when it gives up on a
// broken file (it frees them only on the next read): not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:iges_initfile\n"; }
