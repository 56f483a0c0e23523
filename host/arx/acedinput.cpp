// acedInitGet, acedGetKword and acedEntSel: keyword prompts and picking one
// entity, answered by lines of the current input.
#include <cwctype>
#include <string>
#include <vector>

#include "arx/aced.h"
#include "arx/dbads.h"
#include "arx/names.h"
#include "editor/pickgeometry.h"
#include "win32/input.h"
#include "win32/transcript.h"

namespace {

struct InitGet {
  int flags = 0;
  std::vector<std::wstring> keywords;
};

InitGet& Pending() {
  static InitGet pending;
  return pending;
}

// acedInitGet holds for the next input call only.
InitGet TakeInitGet() {
  InitGet taken = std::move(Pending());
  Pending() = InitGet();
  return taken;
}

// The capitals of a keyword ("eXit" -> "X"); the whole keyword when it has
// none.
std::wstring Abbreviation(const std::wstring& keyword) {
  std::wstring capitals;
  for (wchar_t c : keyword)
    if (std::iswupper(c)) capitals += c;
  return capitals.empty() ? arxhost::UpperName(keyword) : capitals;
}

bool Matches(const std::wstring& keyword, std::wstring_view typed) {
  using arxhost::SameName;
  using arxhost::UpperName;
  if (typed.empty()) return false;
  const std::wstring abbreviation = Abbreviation(keyword);
  if (SameName(typed, keyword) || SameName(typed, abbreviation)) return true;
  // A prefix of the keyword that covers a leading abbreviation ("LTy" for
  // "LType").
  const std::wstring upper = UpperName(keyword);
  const std::wstring prefix = UpperName(typed);
  return upper.starts_with(abbreviation) && prefix.size() >= abbreviation.size() && upper.starts_with(prefix);
}

bool IsCancel(std::wstring_view line) { return arxhost::SameName(arxhost::TrimBlanks(line), L"cancel"); }

}  // namespace

int acedInitGet(int flags, const ACHAR* keywords) {
  InitGet next;
  next.flags = flags;
  std::wstring_view rest = keywords ? keywords : L"";
  while (!(rest = arxhost::TrimBlanks(rest)).empty()) {
    const auto blank = rest.find_first_of(L" \t");
    next.keywords.emplace_back(rest.substr(0, blank));
    rest = blank == std::wstring_view::npos ? std::wstring_view() : rest.substr(blank);
  }
  Pending() = std::move(next);
  return RTNORM;
}

int acedGetKword(const ACHAR* prompt, ACHAR* result) { return acedGetKword(prompt, result, 132); }

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t size) {
  const InitGet init = TakeInitGet();
  if (init.keywords.empty() || !result || size == 0) return RTERROR;
  while (true) {
    auto line = arxhost::Input::Prompt(prompt ? prompt : L"");
    if (!line || IsCancel(*line)) return RTCAN;
    const std::wstring_view typed = arxhost::TrimBlanks(*line);
    if (typed.empty()) {
      if (init.flags & RSG_NONULL) {
        arxhost::Transcript::WriteLine(L"Requires an input.");
        continue;
      }
      return RTNONE;
    }
    for (const std::wstring& keyword : init.keywords) {
      if (!Matches(keyword, typed)) continue;
      const size_t copied = std::min(keyword.size(), size - 1);
      keyword.copy(result, copied);
      result[copied] = L'\0';
      return copied == keyword.size() ? RTNORM : RTINPUTTRUNCATED;
    }
    arxhost::Transcript::WriteLine(L"Invalid option keyword.");
  }
}

int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point) {
  TakeInitGet();
  while (true) {
    auto line = arxhost::Input::Prompt(prompt ? prompt : L"\nSelect object: ");
    if (!line || IsCancel(*line)) return RTCAN;
    if (arxhost::TrimBlanks(*line).empty()) return RTERROR;  // Enter: no pick
    auto pick = arxhost::ParsePick(*line);
    if (!pick) {
      arxhost::Transcript::WriteLine(L"*Invalid selection*");
      continue;
    }
    ads_name name;
    if (pick->id.isNull() || acdbGetAdsName(name, pick->id) != Acad::eOk) return RTERROR;
    if (entity) {
      entity[0] = name[0];
      entity[1] = name[1];
    }
    if (point) {
      point[0] = pick->point.x;
      point[1] = pick->point.y;
      point[2] = pick->point.z;
    }
    return RTNORM;
  }
}
