#include "win32/shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cwctype>
#include <filesystem>

#include "win32/strconv.h"
#include "win32/transcript.h"
#include "win32/winapi.h"

extern char** environ;

namespace arxhost {
namespace {

std::vector<ShellExecuteRecord>& HistoryStore() {
  static std::vector<ShellExecuteRecord> history;
  return history;
}

bool& OpenerEnabled() {
  static bool enabled = true;
  return enabled;
}

bool HasDesktop() {
  if (!OpenerEnabled() || std::getenv("CI") || std::getenv("ARXHOST_NO_OPENER")) return false;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
  return access("/usr/bin/xdg-open", X_OK) == 0;
}

// Starts the opener without waiting for the viewer; a grandchild does the
// work so that no zombie is left behind.
void OpenOnDesktop(const std::string& path) {
  pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() == 0) {
      const char* argv[] = {"xdg-open", path.c_str(), nullptr};
      execve("/usr/bin/xdg-open", const_cast<char**>(argv), environ);
    }
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
}

bool IsOpenVerb(const wchar_t* verb) {
  if (!verb || !*verb) return true;
  std::wstring v(verb);
  for (wchar_t& c : v) c = static_cast<wchar_t>(std::towlower(c));
  return v == L"open";
}

}  // namespace

const std::vector<ShellExecuteRecord>& ShellExecutions::History() { return HistoryStore(); }
void ShellExecutions::ClearHistory() { HistoryStore().clear(); }
void ShellExecutions::EnableDesktopOpener(bool enabled) { OpenerEnabled() = enabled; }

}  // namespace arxhost

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT show) {
  namespace fs = std::filesystem;
  arxhost::ShellExecuteRecord record;
  record.verb = verb ? verb : L"";
  record.file = file ? file : L"";
  record.parameters = parameters ? parameters : L"";
  record.show = show;

  std::wstring full = record.file;
  if (directory && *directory && !full.empty() && full[0] != L'/' && full[0] != L'\\')
    full = std::wstring(directory) + L"/" + full;
  const fs::path path(arxhost::NativePath(full));
  std::error_code ec;
  if (record.file.empty()) {
    record.result = SE_ERR_FNF;
  } else if (!fs::exists(path, ec)) {
    const fs::path parent = path.parent_path();
    record.result = (!parent.empty() && !fs::is_directory(parent, ec)) ? SE_ERR_PNF : SE_ERR_FNF;
  } else if (!arxhost::IsOpenVerb(verb)) {
    record.result = SE_ERR_NOASSOC;
  } else if (access(path.c_str(), R_OK) != 0) {
    record.result = SE_ERR_ACCESSDENIED;
  } else {
    record.result = 42;
    const bool desktop = arxhost::HasDesktop();
    arxhost::Transcript::WriteLine(L"--- Shell opens " + record.file + (desktop ? L"" : L" (recorded only)") + L" ---");
    if (desktop) arxhost::OpenOnDesktop(path.string());
  }
  arxhost::HistoryStore().push_back(record);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(record.result));
}
