#pragma once
// The host's own commands (APPLOAD, ARX, COMMANDS, QUIT, _menuload, ...) and
// the command line that runs them and the commands of modules.
//
// Another part of the host adds a command from its own file with
//   static arxhost::HostCommandRegistrar saveas(L"SAVEAS", L"Saves the drawing as DXF",
//       [](arxhost::CommandArgs& args) { auto path = args.Text(L"File name: "); ... });
// Names are compared without regard to case; a leading '_' (the global name)
// or '.' (the built-in command) is ignored when a host command is looked up.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

// The rest of the command's line, then further answers from the input.
class CommandArgs {
 public:
  explicit CommandArgs(std::wstring rest = {}) : rest_(std::move(rest)) {}
  // The next blank-separated word of the line; once the line is used up, a
  // line read from the input after the prompt. nullopt when the input ended.
  std::optional<std::wstring> Word(std::wstring_view prompt);
  // What is left of the line (without surrounding blanks), or else a line
  // read from the input after the prompt.
  std::optional<std::wstring> Text(std::wstring_view prompt);
  bool HasMore() const;

 private:
  std::wstring rest_;
};

// Returns false when the command failed (it has said why in the
// transcript).
using HostCommandFn = std::function<bool(CommandArgs&)>;

struct HostCommand {
  std::wstring name;
  std::wstring help;
  HostCommandFn run;
};

class HostCommands {
 public:
  // A later registration of the same name replaces the earlier one.
  static void Register(std::wstring name, std::wstring help, HostCommandFn run);
  static const HostCommand* Find(std::wstring_view name);
  static std::vector<HostCommand> All();  // sorted by name
};

struct HostCommandRegistrar {
  HostCommandRegistrar(std::wstring name, std::wstring help, HostCommandFn run) {
    HostCommands::Register(std::move(name), std::move(help), std::move(run));
  }
};

enum class CommandResult { kDone, kFailed, kUnknown, kQuit };

class CommandLine {
 public:
  // Runs one line typed at the command prompt: a module's command (global
  // name, with its underscore, or local name) or a host command, followed on
  // the same line by its first answers.
  static CommandResult Execute(std::wstring_view line);
  // Reads command lines from the current input until it ends or QUIT.
  // Empty lines at the command prompt do nothing.
  static void Run();
  // Ends Run after the current command (QUIT).
  static void RequestQuit();
  // Called by a host command whose failure its caller must see, as the CAD
  // host cancels such a command: acedCommand then returns RTERROR rather
  // than RTNORM. Execute clears it when it starts.
  static void FailCall();
  static bool CallFailed();
};

}  // namespace arxhost
