#include "arx/acutils.h"

#include <cstdarg>
#include <cwchar>
#include <string>

#include "win32/transcript.h"
#include "win32/wformat.h"

namespace {

// Type codes whose value is a string the buffer owns: RTSTR and the DXF
// group codes of text.
bool HoldsString(int t) {
  return t == RTSTR || (t >= 0 && t <= 9) || (t >= 100 && t <= 109) || (t >= 300 && t <= 309) ||
         (t >= 410 && t <= 419) || (t >= 430 && t <= 439) || (t >= 470 && t <= 479) || t == 999 ||
         (t >= 1000 && t <= 1003) || (t >= 1005 && t <= 1009);
}

bool HoldsBinary(int t) { return (t >= 310 && t <= 319) || t == 1004; }

}  // namespace

int acutPrintf(const ACHAR* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  std::wstring text = arxhost::FormatWideV(format, args);
  va_end(args);
  arxhost::Transcript::Write(text);
  return static_cast<int>(text.size());
}

resbuf* acutNewRb(int type) {
  auto* rb = new resbuf{};
  rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* chain) {
  while (chain) {
    resbuf* next = chain->rbnext;
    if (HoldsString(chain->restype)) delete[] chain->resval.rstring;
    else if (HoldsBinary(chain->restype)) delete[] chain->resval.rbinary.buf;
    delete chain;
    chain = next;
  }
  return RTNORM;
}

int acutNewString(const ACHAR* input, ACHAR*& output) {
  if (!input) {
    output = nullptr;
    return RTERROR;
  }
  const size_t n = std::wcslen(input);
  output = new ACHAR[n + 1];
  std::wmemcpy(output, input, n + 1);
  return RTNORM;
}

void acutDelString(ACHAR*& text) {
  delete[] text;
  text = nullptr;
}

// Pairs of a type code and its value, ended by RTNONE (or 0).
resbuf* acutBuildList(int type, ...) {
  va_list args;
  va_start(args, type);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (int t = type; t != 0 && t != RTNONE; t = va_arg(args, int)) {
    resbuf* rb = acutNewRb(t);
    if (HoldsString(t)) {
      acutNewString(va_arg(args, const ACHAR*), rb->resval.rstring);
    } else if (t == RTREAL || t == RTANG || (t >= 40 && t <= 59) || (t >= 140 && t <= 149) ||
               (t >= 1040 && t <= 1042)) {
      rb->resval.rreal = va_arg(args, double);
    } else if (t == RTPOINT || t == RT3DPOINT || (t >= 10 && t <= 39) || (t >= 1010 && t <= 1013)) {
      const double* p = va_arg(args, const double*);
      for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = (p && (i < 2 || t != RTPOINT)) ? p[i] : 0.0;
    } else if (t == RTLONG || (t >= 90 && t <= 99) || t == 1071) {
      rb->resval.rlong = va_arg(args, Adesk::Int32);
    } else if (t == RTLB || t == RTLE || t == RTDOTE || t == RTNIL || t == RTT || t == RTVOID) {
      // no value
    } else {
      rb->resval.rint = static_cast<short>(va_arg(args, int));
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  va_end(args);
  return head;
}
