#pragma once
// ShellExecuteW of the host. A missing file gives the result Windows gives
// (2, or 3 for a missing folder; 31 for a verb other than "open"); an
// existing file gives 42 and is recorded. It is handed to the desktop's
// opener (xdg-open) only where there is a desktop and no test or CI run:
// never when the environment has CI or ARXHOST_NO_OPENER set, or when the
// opener is switched off in process.
#include <string>
#include <vector>

namespace arxhost {

struct ShellExecuteRecord {
  std::wstring verb;
  std::wstring file;
  std::wstring parameters;
  int show = 0;
  long result = 0;
};

class ShellExecutions {
 public:
  static const std::vector<ShellExecuteRecord>& History();
  static void ClearHistory();
  static void EnableDesktopOpener(bool enabled);
};

}  // namespace arxhost
