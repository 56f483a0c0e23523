#include "AtomicFile.h"

#include <cerrno>
#include <cstring>

#include "win32/atomicfile.h"

namespace kelv {

bool WriteFileAtomically(const std::string& nativePath, std::span<const uint8_t> bytes, std::string& error) {
  auto fail = [&](const char* what) {
    error = std::string(what) + ": " + std::strerror(errno);
    return false;
  };
  arxhost::AtomicFile file;
  if (!file.Open(nativePath, false)) return fail("cannot create a temporary file beside it");
  if (!file.Write({reinterpret_cast<const char*>(bytes.data()), bytes.size()}) || !file.Flush())
    return fail("cannot write");
  if (!file.Commit()) return fail("cannot move it into place");
  return true;
}

}  // namespace kelv
