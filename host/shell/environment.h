#pragma once
// The Windows-like environment arxhost sets up before it loads modules.
#include <string>

namespace arxhost_shell {

// Makes TEMP (and TMP) name a folder only this user can reach, so that the
// fixed temporary names modules use cannot be planted or read by others
// through a shared folder: TEMP itself when it is already private, else a
// folder "arxhost-UID" in it (or in TMPDIR, or /tmp), created with mode 0700.
// False with *error when no such folder can be had.
bool PreparePrivateTemp(std::string* error);

}  // namespace arxhost_shell
