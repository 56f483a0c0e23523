// Open CASCADE registers its IGES settings once per process and never frees
// them; that is not a leak of ours. They are registered here, before any
// test, with the leak checker looking away.
#include <IGESControl_Reader.hxx>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

namespace {

const bool kRegistered = [] {
  __lsan_disable();
  { IGESControl_Reader reader; }
  __lsan_enable();
  return true;
}();

}  // namespace
#endif
