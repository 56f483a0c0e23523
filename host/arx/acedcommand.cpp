// acedCommand and acedCmd: commands issued by modules.
#include <cstdarg>
#include <string>
#include <vector>

#include "arx/aced.h"
#include "editor/hostcommands.h"
#include "win32/input.h"
#include "win32/transcript.h"
#include "win32/wformat.h"

namespace {

std::wstring PointText(const double* p, int n) {
  std::wstring text;
  for (int i = 0; i < n; ++i) text += (i ? L"," : L"") + arxhost::FormatWide(L"%.16g", p ? p[i] : 0.0);
  return text;
}

int Run(std::vector<std::wstring> tokens) {
  if (tokens.empty()) return RTERROR;
  const std::wstring name = tokens.front();
  tokens.erase(tokens.begin());
  arxhost::Transcript::WriteLine(L"Command: " + name);
  // The answers are the command's only input: what it asks beyond them is
  // cancelled rather than taken from the script.
  arxhost::LineInput answers(std::move(tokens));
  arxhost::InputScope scope(answers);
  auto result = arxhost::CommandLine::Execute(name);
  if (result == arxhost::CommandResult::kUnknown || arxhost::CommandLine::CallFailed()) return RTERROR;
  return RTNORM;
}

}  // namespace

int acedCommand(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  std::vector<std::wstring> tokens;
  bool ok = true;
  for (int t = rtype; t != RTNONE && t != 0 && ok; t = va_arg(args, int)) {
    switch (t) {
      case RTSTR: {
        const ACHAR* s = va_arg(args, const ACHAR*);
        tokens.emplace_back(s ? s : L"");
        break;
      }
      case RTSHORT: tokens.push_back(std::to_wstring(va_arg(args, int))); break;
      case RTLONG: tokens.push_back(std::to_wstring(va_arg(args, Adesk::Int32))); break;
      case RTREAL:
      case RTANG: tokens.push_back(arxhost::FormatWide(L"%.16g", va_arg(args, double))); break;
      case RTPOINT: tokens.push_back(PointText(va_arg(args, const double*), 2)); break;
      case RT3DPOINT: tokens.push_back(PointText(va_arg(args, const double*), 3)); break;
      default: ok = false; break;
    }
  }
  va_end(args);
  return ok ? Run(std::move(tokens)) : RTERROR;
}

int acedCmd(const resbuf* chain) {
  std::vector<std::wstring> tokens;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    switch (rb->restype) {
      case RTSTR: tokens.emplace_back(rb->resval.rstring ? rb->resval.rstring : L""); break;
      case RTSHORT: tokens.push_back(std::to_wstring(rb->resval.rint)); break;
      case RTLONG: tokens.push_back(std::to_wstring(rb->resval.rlong)); break;
      case RTREAL:
      case RTANG: tokens.push_back(arxhost::FormatWide(L"%.16g", rb->resval.rreal)); break;
      case RTPOINT: tokens.push_back(PointText(rb->resval.rpoint, 2)); break;
      case RT3DPOINT: tokens.push_back(PointText(rb->resval.rpoint, 3)); break;
      case RTNONE: break;
      default: return RTERROR;
    }
  }
  return Run(std::move(tokens));
}

HWND adsw_acadMainWnd() {
  static int window;
  return reinterpret_cast<HWND>(&window);
}
