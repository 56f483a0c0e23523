#include "editor/hostcommands.h"

#include <algorithm>
#include <map>

#include "arx/names.h"
#include "editor/commandstack.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost {
namespace {

std::map<std::wstring, HostCommand>& Registry() {
  static std::map<std::wstring, HostCommand> registry;
  return registry;
}

bool& CallFailedFlag() {
  static bool failed = false;
  return failed;
}

bool& QuitRequested() {
  static bool quit = false;
  return quit;
}

std::wstring_view StripPrefixes(std::wstring_view name) {
  while (!name.empty() && (name.front() == L'_' || name.front() == L'.' || name.front() == L'\''))
    name.remove_prefix(1);
  return name;
}

AcEdCommand* FindModuleCommand(std::wstring_view name) {
  AcEdCommandStack& stack = CommandStack();
  const std::wstring n(name);
  if (AcEdCommand* c = stack.lookupGlobalCmd(n.c_str())) return c;
  if (AcEdCommand* c = stack.lookupLocalCmd(n.c_str())) return c;
  // "_NAME" names the global name NAME of a command registered without the
  // underscore.
  if (!n.empty() && n.front() == L'_') return stack.lookupGlobalCmd(n.c_str() + 1);
  return nullptr;
}

}  // namespace

std::optional<std::wstring> CommandArgs::Word(std::wstring_view prompt) {
  std::wstring_view rest = TrimBlanks(rest_);
  if (rest.empty()) {
    rest_.clear();
    return Input::Prompt(prompt);
  }
  auto end = rest.find_first_of(L" \t");
  std::wstring word(rest.substr(0, end));
  rest_ = end == std::wstring_view::npos ? std::wstring() : std::wstring(rest.substr(end));
  return word;
}

std::optional<std::wstring> CommandArgs::Text(std::wstring_view prompt) {
  std::wstring_view rest = TrimBlanks(rest_);
  if (rest.empty()) {
    rest_.clear();
    return Input::Prompt(prompt);
  }
  std::wstring text(rest);
  rest_.clear();
  return text;
}

bool CommandArgs::HasMore() const { return !TrimBlanks(rest_).empty(); }

void HostCommands::Register(std::wstring name, std::wstring help, HostCommandFn run) {
  std::wstring key = UpperName(StripPrefixes(name));
  HostCommand command{key, std::move(help), std::move(run)};
  Registry()[key] = std::move(command);
}

const HostCommand* HostCommands::Find(std::wstring_view name) {
  auto& registry = Registry();
  auto it = registry.find(UpperName(StripPrefixes(name)));
  return it == registry.end() ? nullptr : &it->second;
}

std::vector<HostCommand> HostCommands::All() {
  std::vector<HostCommand> out;
  for (const auto& [key, command] : Registry()) out.push_back(command);
  return out;
}

CommandResult CommandLine::Execute(std::wstring_view line) {
  CallFailedFlag() = false;
  std::wstring_view text = TrimBlanks(line);
  if (text.empty()) return CommandResult::kDone;
  auto end = text.find_first_of(L" \t");
  std::wstring_view name = text.substr(0, end);
  std::wstring rest = end == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(end + 1));

  // A '.' asks for the host's own command even where a module has one.
  const bool builtinOnly = !name.empty() && name.front() == L'.';
  std::wstring_view lookup = name;
  if (!lookup.empty() && lookup.front() == L'\'') lookup.remove_prefix(1);  // transparent use
  if (!builtinOnly) {
    if (AcEdCommand* command = FindModuleCommand(lookup)) {
      // Whatever followed the name answers the command's first prompts.
      std::vector<std::wstring> answers;
      std::wstring_view restView = TrimBlanks(rest);
      while (!restView.empty()) {
        auto sep = restView.find_first_of(L" \t");
        answers.emplace_back(restView.substr(0, sep));
        restView = sep == std::wstring_view::npos ? std::wstring_view() : TrimBlanks(restView.substr(sep));
      }
      const std::wstring commandName = command->globalName();
      AcRxFunctionPtr function = command->functionAddr();
      // A command that throws ends; the host and the session go on.
      try {
        if (answers.empty()) {
          function();
        } else {
          PrefixedInput input(std::move(answers), Input::Current());
          InputScope scope(input);
          function();
        }
      } catch (const std::exception& e) {
        Transcript::WriteLine(L"Command " + commandName + L" failed: " + FromUtf8(e.what()));
        return CommandResult::kFailed;
      }
      return CommandResult::kDone;
    }
  }
  if (const HostCommand* command = HostCommands::Find(lookup)) {
    CommandArgs args(std::move(rest));
    // Copy the function: a command may register others while it runs.
    HostCommandFn run = command->run;
    bool ok = false;
    try {
      ok = run(args);
    } catch (const std::exception& e) {
      Transcript::WriteLine(L"Command " + command->name + L" failed: " + FromUtf8(e.what()));
    }
    if (QuitRequested()) return CommandResult::kQuit;
    return ok ? CommandResult::kDone : CommandResult::kFailed;
  }
  Transcript::WriteLine(L"Unknown command \"" + UpperName(StripPrefixes(name)) + L"\".");
  return CommandResult::kUnknown;
}

void CommandLine::Run() {
  QuitRequested() = false;
  while (!QuitRequested()) {
    InputSource* source = Input::Current();
    if (!source) break;
    const bool interactive = source->Interactive();
    if (interactive) Transcript::Write(L"Command: ");
    auto line = source->ReadLine();
    if (!line) {
      if (interactive) Transcript::WriteLine(L"");
      break;
    }
    if (!interactive) Transcript::WriteLine(L"Command: " + *line);
    if (Execute(*line) == CommandResult::kQuit) break;
  }
  QuitRequested() = false;
}

void CommandLine::RequestQuit() { QuitRequested() = true; }

void CommandLine::FailCall() { CallFailedFlag() = true; }

bool CommandLine::CallFailed() { return CallFailedFlag(); }

}  // namespace arxhost
