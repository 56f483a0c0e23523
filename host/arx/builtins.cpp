// The host's own commands for applications and the session: APPLOAD, ARX,
// COMMANDS, HOSTCOMMANDS, QUIT.
#include <string>

#include "arx/names.h"
#include "editor/applications.h"
#include "editor/commandstack.h"
#include "editor/hostcommands.h"
#include "win32/transcript.h"
#include "win32/wformat.h"

namespace arxhost {
namespace {

void Say(const std::wstring& text) { Transcript::WriteLine(text); }

bool ListApplications() {
  auto apps = Applications::List();
  if (apps.empty()) Say(L"No applications are loaded.");
  for (const auto& a : apps) Say(L"  " + a.name + L"  (" + a.path + L")");
  return true;
}

// One line per command, group by group from the top of the stack:
//   VRN_Tolvane  _Tolvane  (local Tolvane, flags 1)
bool ListCommands(const std::wstring& onlyGroup) {
  AcEdCommandStack& stack = CommandStack();
  bool any = false;
  for (const auto& group : stack.groupNames()) {
    if (!onlyGroup.empty() && !SameName(group, onlyGroup)) continue;
    for (AcEdCommand* c : stack.commandsOf(group.c_str())) {
      Say(FormatWide(L"  %s  %s  (local %s, flags %d)", group.c_str(), c->globalName(), c->localName(),
                     static_cast<int>(c->commandFlags())));
      any = true;
    }
  }
  if (!any) Say(onlyGroup.empty() ? L"No commands are registered." : L"No commands in group " + onlyGroup + L".");
  return true;
}

HostCommandRegistrar appload(L"APPLOAD", L"APPLOAD MODULE: loads an application module", [](CommandArgs& args) {
  auto path = args.Text(L"Module to load: ");
  return path && !path->empty() && Applications::Load(*path);
});

HostCommandRegistrar arx(L"ARX", L"ARX ?|LOAD MODULE|UNLOAD NAME|COMMANDS: manages application modules",
                         [](CommandArgs& args) {
  auto option = args.Word(L"Enter an option [?/Load/Unload/Commands]: ");
  if (!option) return false;
  const std::wstring o = UpperName(*option);
  if (o == L"?") return ListApplications();
  if (o == L"L" || o == L"LOAD") {
    auto path = args.Text(L"Module to load: ");
    return path && !path->empty() && Applications::Load(*path);
  }
  if (o == L"U" || o == L"UNLOAD") {
    auto name = args.Text(L"Application to unload: ");
    return name && !name->empty() && Applications::Unload(*name);
  }
  if (o == L"C" || o == L"COMMANDS") return ListCommands({});
  Say(L"Invalid option \"" + *option + L"\": expected ?, Load, Unload or Commands.");
  return false;
});

HostCommandRegistrar commands(L"COMMANDS", L"COMMANDS [GROUP]: lists the commands that modules registered",
                              [](CommandArgs& args) {
  std::wstring group;
  if (args.HasMore()) group = *args.Text(L"");
  return ListCommands(group);
});

HostCommandRegistrar hostCommands(L"HOSTCOMMANDS", L"HOSTCOMMANDS: lists the host's own commands", [](CommandArgs&) {
  for (const auto& c : HostCommands::All()) Say(L"  " + c.help);
  return true;
});

HostCommandRegistrar quit(L"QUIT", L"QUIT: ends the session", [](CommandArgs&) {
  CommandLine::RequestQuit();
  return true;
});

}  // namespace
}  // namespace arxhost
