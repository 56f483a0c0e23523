#include "editor/menus.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "arx/aced.h"
#include "arx/names.h"
#include "editor/hostcommands.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost {
namespace {

struct State {
  std::vector<MenuGroup> groups;
  std::vector<MenuBarEntry> bar;
  std::vector<std::wstring> requests;
};

State& TheState() {
  static State state;
  return state;
}

const PullDownMenu* FindPullDown(const MenuGroup& group, const std::wstring& name) {
  for (const auto& p : group.pullDowns)
    if (SameName(p.section, name) || (!p.alias.empty() && SameName(p.alias, name))) return &p;
  return nullptr;
}

void Say(const std::wstring& text) { Transcript::WriteLine(text); }

bool ListBar() {
  const auto& bar = Menus::Bar();
  if (bar.empty()) {
    Say(L"The menu bar has no pull-down menus of menu groups.");
    return true;
  }
  int position = 1;
  for (const auto& e : bar) {
    const MenuGroup* g = Menus::Group(e.group);
    const PullDownMenu* p = g ? FindPullDown(*g, e.section) : nullptr;
    if (!p) continue;
    Say(L"  " + std::to_wstring(position++) + L"  " + g->name + L"." + p->section + L"  \"" +
        DisplayLabel(p->title) + L"\"");
    for (const auto& item : p->items) {
      std::wstring indent(4 + 2 * item.depth, L' ');
      if (item.separator) Say(indent + L"--");
      else Say(indent + DisplayLabel(item.label) + (item.macro.empty() ? L"" : L"  " + item.macro));
    }
  }
  return true;
}

HostCommandRegistrar menuload(L"MENULOAD", L"MENULOAD FILE: loads a partial menu (also _menuload)", [](CommandArgs& args) {
  auto path = args.Text(L"Enter name of menu file to load: ");
  if (!path || path->empty()) return false;
  return Menus::LoadFile(*path);
});

HostCommandRegistrar menubar(L"MENUBAR", L"MENUBAR: lists the pull-down menus in the menu bar",
                             [](CommandArgs&) { return ListBar(); });

}  // namespace

bool Menus::LoadFile(const std::wstring& path) {
  State& state = TheState();
  state.requests.push_back(path);
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) {
    Say(L"Cannot find menu file \"" + path + L"\".");
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    Say(L"Cannot read menu file \"" + path + L"\".");
    return false;
  }
  MnuError error;
  auto group = ParseMnu(FromUtf8(bytes), &error);
  if (!group) {
    Say(L"Error in menu file \"" + path + L"\"" + (error.line ? L", line " + std::to_wstring(error.line) : L"") +
        L": " + error.what + L".");
    return false;
  }
  bool replaced = false;
  for (auto& g : state.groups)
    if (SameName(g.name, group->name)) {
      g = *group;
      replaced = true;
    }
  if (!replaced) state.groups.push_back(*group);
  // Entries of the bar whose pull-down the new file lacks go.
  std::erase_if(state.bar, [&](const MenuBarEntry& e) {
    const MenuGroup* g = Group(e.group);
    return g && !FindPullDown(*g, e.section);
  });
  Say(L"Menu group \"" + group->name + L"\" loaded.");
  return true;
}

const MenuGroup* Menus::Group(const std::wstring& name) {
  for (const auto& g : TheState().groups)
    if (SameName(g.name, name)) return &g;
  return nullptr;
}

std::vector<std::wstring> Menus::GroupNames() {
  std::vector<std::wstring> names;
  for (const auto& g : TheState().groups) names.push_back(g.name);
  return names;
}

const std::vector<std::wstring>& Menus::LoadRequests() { return TheState().requests; }

// "Pn=+Group.menu" inserts at position n (1-based; beyond the end appends),
// "Pn=-" removes the pull-down at n, "Pn=*" shows it (nothing to do here).
int Menus::MenuCommand(const std::wstring& command) {
  std::wstring_view cmd = TrimBlanks(command);
  if (cmd.size() < 3 || (cmd[0] != L'P' && cmd[0] != L'p')) return RTERROR;
  auto eq = cmd.find(L'=');
  if (eq == std::wstring_view::npos || eq < 2) return RTERROR;
  int position = 0;
  for (wchar_t c : cmd.substr(1, eq - 1)) {
    if (c < L'0' || c > L'9' || position > 1000) return RTERROR;
    position = position * 10 + (c - L'0');
  }
  std::wstring_view op = TrimBlanks(cmd.substr(eq + 1));
  auto& bar = TheState().bar;
  if (op == L"*") return RTNORM;
  if (op == L"-") {
    if (position < 1 || position > static_cast<int>(bar.size())) return RTERROR;
    bar.erase(bar.begin() + (position - 1));
    return RTNORM;
  }
  if (!op.starts_with(L"+")) return RTERROR;
  op.remove_prefix(1);
  auto dot = op.find(L'.');
  if (dot == std::wstring_view::npos) return RTERROR;
  const MenuGroup* group = Group(std::wstring(op.substr(0, dot)));
  const PullDownMenu* menu = group ? FindPullDown(*group, std::wstring(op.substr(dot + 1))) : nullptr;
  if (!menu) return RTERROR;
  for (const auto& e : bar)
    if (SameName(e.group, group->name) && e.section == menu->section) return RTNORM;  // already there
  const size_t at = position < 1 ? 0 : std::min(static_cast<size_t>(position - 1), bar.size());
  bar.insert(bar.begin() + at, MenuBarEntry{group->name, menu->section});
  return RTNORM;
}

const std::vector<MenuBarEntry>& Menus::Bar() { return TheState().bar; }

void Menus::Reset() { TheState() = State{}; }

}  // namespace arxhost

int acedMenuCmd(const ACHAR* command) { return command ? arxhost::Menus::MenuCommand(command) : RTERROR; }
