// acedSSGet and its companions: selection sets of the current space's
// entities, chosen by lines of the current input or all at once.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "arx/aced.h"
#include "arx/dbads.h"
#include "arx/dbheaders.h"
#include "arx/names.h"
#include "editor/pickgeometry.h"
#include "win32/input.h"
#include "win32/transcript.h"

namespace {

// Set names carry this mark in their second word, so that an entity name
// handed in by mistake is no set.
constexpr Adesk::IntPtr kSetMark = 0x5353;

struct Sets {
  std::map<Adesk::IntPtr, std::vector<AcDbObjectId>> live;
  Adesk::IntPtr next = 1;
};

Sets& AllSets() {
  static Sets sets;
  return sets;
}

std::vector<AcDbObjectId>* Find(const ads_name name) {
  if (!name || name[1] != kSetMark) return nullptr;
  auto& live = AllSets().live;
  auto it = live.find(name[0]);
  return it == live.end() ? nullptr : &it->second;
}

// The entity types a filter lets through (empty: every type); false for a
// filter the host does not take.
bool ReadFilter(const resbuf* filter, std::vector<std::wstring>& types) {
  for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
    if ((rb->restype != 0 && rb->restype != RTDXF0) || !rb->resval.rstring) return false;
    std::wstring_view list = rb->resval.rstring;
    while (!list.empty()) {
      const auto comma = list.find(L',');
      types.emplace_back(arxhost::TrimBlanks(list.substr(0, comma)));
      list = comma == std::wstring_view::npos ? std::wstring_view() : list.substr(comma + 1);
    }
  }
  return true;
}

bool Passes(AcDbObjectId id, const std::vector<std::wstring>& types) {
  if (types.empty()) return true;
  AcRxClass* cls = id.objectClass();
  if (!cls) return false;
  return std::any_of(types.begin(), types.end(),
                     [&](const std::wstring& type) { return arxhost::SameName(type, cls->dxfName()); });
}

struct Chosen {
  std::vector<AcDbObjectId> ids;
  int filtered = 0;
};

Chosen Choose(const std::vector<AcDbObjectId>& candidates, const std::vector<std::wstring>& types) {
  Chosen chosen;
  for (AcDbObjectId id : candidates) {
    if (Passes(id, types))
      chosen.ids.push_back(id);
    else
      ++chosen.filtered;
  }
  return chosen;
}

// Asks until Enter: each answer adds entities to the set (or removes them
// after "remove", until "add").
int AskForSet(const std::wstring& addPrompt, const std::wstring& removePrompt,
              const std::vector<std::wstring>& types, std::vector<AcDbObjectId>& set) {
  using arxhost::SameName;
  using arxhost::Transcript;
  bool removing = false;
  while (true) {
    auto line = arxhost::Input::Prompt(removing ? removePrompt : addPrompt);
    if (!line) return RTCAN;
    const std::wstring_view answer = arxhost::TrimBlanks(*line);
    if (answer.empty()) return RTNORM;
    if (SameName(answer, L"cancel")) return RTCAN;
    if (SameName(answer, L"remove") || SameName(answer, L"r")) {
      removing = true;
      continue;
    }
    if (SameName(answer, L"add") || SameName(answer, L"a")) {
      removing = false;
      continue;
    }
    auto named = arxhost::ParseSelection(answer);
    if (!named) {
      Transcript::WriteLine(L"*Invalid selection*");
      continue;
    }
    const Chosen chosen = Choose(*named, types);
    int count = 0;
    for (AcDbObjectId id : chosen.ids) {
      auto it = std::find(set.begin(), set.end(), id);
      if (removing && it != set.end()) {
        set.erase(it);
        ++count;
      } else if (!removing && it == set.end()) {
        set.push_back(id);
        ++count;
      }
    }
    Transcript::WriteLine(std::to_wstring(count) + (removing ? L" removed" : L" found"));
    if (chosen.filtered > 0) Transcript::WriteLine(std::to_wstring(chosen.filtered) + L" were filtered out.");
  }
}

}  // namespace

int acedSSGet(const ACHAR* mode, const void* arg1, const void*, const resbuf* filter, ads_name set) {
  if (!set) return RTERROR;
  std::vector<std::wstring> types;
  if (!ReadFilter(filter, types)) return RTERROR;

  std::wstring modeText = mode ? mode : L"";
  if (!modeText.empty() && modeText.front() == L'_') modeText.erase(0, 1);  // the global form
  std::vector<AcDbObjectId> ids;
  if (arxhost::SameName(modeText, L"A") || arxhost::SameName(modeText, L"X")) {
    ids = Choose(arxhost::CurrentSpaceEntities(), types).ids;
  } else {
    std::wstring addPrompt = L"Select objects: ", removePrompt = L"Remove objects: ";
    if (modeText.find(L'$') != std::wstring::npos) {
      const auto* prompts = static_cast<const ACHAR* const*>(arg1);
      if (!prompts) return RTERROR;
      addPrompt = prompts[0] ? prompts[0] : L"";
      removePrompt = prompts[1] ? prompts[1] : L"";
    } else if (!modeText.empty()) {
      return RTERROR;  // a selection method the host does not offer
    }
    if (int status = AskForSet(addPrompt, removePrompt, types, ids); status != RTNORM) return status;
  }
  if (ids.empty()) return RTERROR;

  Sets& sets = AllSets();
  const Adesk::IntPtr key = sets.next++;
  sets.live.emplace(key, std::move(ids));
  set[0] = key;
  set[1] = kSetMark;
  return RTNORM;
}

int acedSSLength(const ads_name set, Adesk::Int32* length) {
  auto* ids = Find(set);
  if (!ids || !length) return RTERROR;
  *length = static_cast<Adesk::Int32>(ids->size());
  return RTNORM;
}

int acedSSName(const ads_name set, Adesk::Int32 index, ads_name entity) {
  auto* ids = Find(set);
  if (!ids || !entity || index < 0 || static_cast<size_t>(index) >= ids->size()) return RTERROR;
  ads_name name;
  if (acdbGetAdsName(name, (*ids)[index]) != Acad::eOk) return RTERROR;
  entity[0] = name[0];
  entity[1] = name[1];
  return RTNORM;
}

int acedSSFree(const ads_name set) {
  if (!Find(set)) return RTERROR;
  AllSets().live.erase(set[0]);
  return RTNORM;
}

namespace arxhost {
size_t LiveSelectionSets() { return AllSets().live.size(); }
}  // namespace arxhost
