#pragma once
// The Windows-like environment arxhost sets up before it loads modules.
#include <string>

namespace arxhost_shell {

// Makes TEMP (and TMP and TMPDIR) name a folder of this session only, inside
// a folder only this user can reach: TEMP itself when it is already private,
// else a folder "arxhost-UID" in it (or in TMPDIR, or /tmp), created with
// mode 0700. The fixed temporary names modules use can then be neither
// planted nor read by others, nor shared by two sessions running at once.
// The session's folder goes at exit (RemoveSessionTemp); the folders of
// sessions that were killed go when the next session starts. False with *error
// when no such folder can be had.
bool PreparePrivateTemp(std::string* error);

// Removes the session's temporary folder with what it holds; only in the
// process that made it, so that a forked child's exit leaves it alone.
void RemoveSessionTemp();

}  // namespace arxhost_shell
