#include "editor/mnufile.h"

#include <cwctype>

#include "arx/names.h"

namespace arxhost {
namespace {

enum class SectionKind { kNone, kPullDown, kOther };

bool IsDigits(std::wstring_view s) {
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (c < L'0' || c > L'9') return false;
  return true;
}

// Sections with a number after their name, and their highest number.
SectionKind KindOf(const std::wstring& upper) {
  struct Numbered {
    const wchar_t* prefix;
    int max;
    SectionKind kind;
  } numbered[] = {{L"POP", 499, SectionKind::kPullDown}, {L"BUTTONS", 4, SectionKind::kOther},
                  {L"AUX", 4, SectionKind::kOther},      {L"TABLET", 4, SectionKind::kOther}};
  for (const auto& n : numbered) {
    std::wstring_view p(n.prefix);
    if (upper.starts_with(p) && IsDigits(std::wstring_view(upper).substr(p.size()))) {
      std::wstring_view digits = std::wstring_view(upper).substr(p.size());
      if (digits.size() > 3 || std::stoi(std::wstring(digits)) > n.max) return SectionKind::kNone;
      return n.kind;
    }
  }
  for (const wchar_t* plain : {L"TOOLBARS", L"IMAGE", L"SCREEN", L"HELPSTRINGS", L"ACCELERATORS"})
    if (upper == plain) return SectionKind::kOther;
  return SectionKind::kNone;
}

bool Fail(MnuError* error, int line, std::wstring what) {
  if (error) *error = MnuError{line, std::move(what)};
  return false;
}

// One item line of a pull-down: [ID] [label] macro.
bool ParseItem(std::wstring_view line, int lineNo, MenuItem& item, MnuError* error) {
  std::wstring_view rest = TrimBlanks(line);
  if (!rest.empty() && rest.front() != L'[') {
    auto end = rest.find_first_of(L" \t[");
    item.id = std::wstring(rest.substr(0, end));
    rest = end == std::wstring_view::npos ? std::wstring_view() : TrimBlanks(rest.substr(end));
  }
  if (!rest.empty() && rest.front() == L'[') {
    auto close = rest.find(L']');
    if (close == std::wstring_view::npos) return Fail(error, lineNo, L"a label has no closing ']'");
    item.label = std::wstring(rest.substr(1, close - 1));
    rest = rest.substr(close + 1);
  }
  item.macro = std::wstring(TrimBlanks(rest));
  item.separator = item.label == L"--" || item.label == L"~--";
  if (item.label.empty() && item.macro.empty()) return Fail(error, lineNo, L"an item has neither label nor macro");
  return true;
}

}  // namespace

std::optional<MenuGroup> ParseMnu(std::wstring_view text, MnuError* error) {
  MenuGroup group;
  SectionKind section = SectionKind::kNone;
  bool seenSection = false;
  int depth = 0;
  int lineNo = 0;
  auto closeSubmenus = [&]() {
    if (section == SectionKind::kPullDown && depth != 0)
      return Fail(error, lineNo, L"a submenu of " + group.pullDowns.back().section + L" is not closed");
    return true;
  };

  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(L'\n', pos);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == L'\r') raw.remove_suffix(1);
    if (raw.find(L'\0') != std::wstring_view::npos) {
      Fail(error, lineNo, L"the file is not text");
      return std::nullopt;
    }
    std::wstring_view line = TrimBlanks(raw);
    if (line.empty() || line.starts_with(L"//")) continue;

    if (line.starts_with(L"***")) {
      if (!closeSubmenus()) return std::nullopt;
      std::wstring head = UpperName(TrimBlanks(line.substr(3)));
      seenSection = true;
      depth = 0;
      if (head.starts_with(L"MENUGROUP")) {
        std::wstring_view rest = TrimBlanks(std::wstring_view(head).substr(9));
        if (!rest.starts_with(L"=")) return Fail(error, lineNo, L"***MENUGROUP needs '=' and a name"), std::nullopt;
        if (!group.name.empty()) return Fail(error, lineNo, L"a second ***MENUGROUP"), std::nullopt;
        // The name keeps the case it was written in.
        std::wstring_view original = TrimBlanks(line.substr(3));
        group.name = std::wstring(TrimBlanks(original.substr(original.find(L'=') + 1)));
        if (group.name.empty() || group.name.find_first_of(L" \t.") != std::wstring::npos)
          return Fail(error, lineNo, L"the menu group needs a name without blanks or dots"), std::nullopt;
        section = SectionKind::kOther;
        continue;
      }
      section = KindOf(head);
      if (section == SectionKind::kNone)
        return Fail(error, lineNo, L"unknown section ***" + std::wstring(TrimBlanks(line.substr(3)))), std::nullopt;
      if (section == SectionKind::kPullDown) {
        for (const auto& p : group.pullDowns)
          if (p.section == head) return Fail(error, lineNo, L"a second ***" + head), std::nullopt;
        group.pullDowns.push_back(PullDownMenu{head, {}, {}, {}});
      }
      continue;
    }
    if (!seenSection) return Fail(error, lineNo, L"text before the first section"), std::nullopt;
    if (section != SectionKind::kPullDown) continue;

    PullDownMenu& menu = group.pullDowns.back();
    if (line.starts_with(L"**")) {
      if (!menu.items.empty() || !menu.title.empty())
        return Fail(error, lineNo, L"the alias of " + menu.section + L" must come before its items"), std::nullopt;
      menu.alias = std::wstring(TrimBlanks(line.substr(2)));
      continue;
    }
    MenuItem item;
    if (!ParseItem(line, lineNo, item, error)) return std::nullopt;
    if (menu.title.empty() && menu.items.empty()) {
      if (item.label.empty()) return Fail(error, lineNo, menu.section + L" needs a title label"), std::nullopt;
      menu.title = item.label;
      continue;
    }
    item.depth = depth;
    const std::wstring_view label = item.label;
    if (label.starts_with(L"->")) ++depth;
    int closes = 0;
    for (std::wstring_view l = label; l.starts_with(L"<-"); l.remove_prefix(2)) ++closes;
    if (closes > depth) return Fail(error, lineNo, L"'<-' closes a submenu that was never opened"), std::nullopt;
    depth -= closes;
    menu.items.push_back(std::move(item));
  }
  if (!closeSubmenus()) return std::nullopt;
  if (group.name.empty()) return Fail(error, 0, L"there is no ***MENUGROUP"), std::nullopt;
  for (const auto& p : group.pullDowns)
    if (p.title.empty()) return Fail(error, 0, p.section + L" is empty"), std::nullopt;
  return group;
}

std::wstring DisplayLabel(std::wstring_view label) {
  while (label.starts_with(L"->") || label.starts_with(L"<-")) label.remove_prefix(2);
  if (label.starts_with(L"~")) label.remove_prefix(1);  // greyed out
  std::wstring out;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&') {
      if (i + 1 < label.size() && label[i + 1] == L'&') {
        out += L'&';
        ++i;
      }
      continue;
    }
    out += label[i];
  }
  return out;
}

}  // namespace arxhost
