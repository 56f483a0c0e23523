// arxhost: loads application modules and runs commands from a script or the
// terminal.
//
//   arxhost [--release LETTER] [--registry FILE] [--load MODULE]... [--script FILE|-] [--save FILE.dxf]
//
// Exit status: 0 when the script ran to its end (whatever its commands
// reported); 1 for the host's own failures (a module that cannot be loaded,
// a missing script, a drawing that cannot be saved); 2 for a bad command line.
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "editor/applications.h"
#include "environment.h"
#include "editor/hostcommands.h"
#include "editor/sysvars.h"
#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace {

struct Options {
  std::optional<wchar_t> release;
  std::optional<std::string> registry;
  std::vector<std::string> modules;
  std::optional<std::string> script;
  std::optional<std::string> save;
};

const char kUsage[] =
    "usage: arxhost [--release LETTER] [--registry FILE] [--load MODULE]... [--script FILE|-] [--save FILE.dxf]\n";

int Usage(const std::string& problem) {
  std::cerr << "arxhost: " << problem << "\n" << kUsage;
  return 2;
}

std::optional<int> Parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    const bool takesValue = arg == "--release" || arg == "--registry" || arg == "--load" || arg == "--script" ||
                            arg == "--save";
    if (!takesValue) return Usage("unknown option '" + arg + "'");
    if (i + 1 >= argc) return Usage("option " + arg + " needs a value");
    const std::string value = argv[++i];
    if (arg == "--release") {
      std::wstring letter = arxhost::FromUtf8(value);
      if (letter.size() != 1 || letter[0] < L'!' || letter[0] > L'~')
        return Usage("--release takes one letter, as D for release 18");
      options.release = letter[0];
    } else if (arg == "--registry") {
      options.registry = value;
    } else if (arg == "--load") {
      options.modules.push_back(value);
    } else if (arg == "--script") {
      options.script = value;
    } else {
      options.save = value;
    }
  }
  return std::nullopt;
}

// Runs the host command that writes the drawing; saving is offered by the
// part of the host that owns the drawing, as the command SAVEAS.
bool Save(const std::string& path) {
  if (!arxhost::HostCommands::Find(L"SAVEAS")) {
    std::cerr << "arxhost: cannot save " << path << ": this host has no SAVEAS command\n";
    return false;
  }
  arxhost::LineInput none;
  arxhost::InputScope scope(none);
  arxhost::Transcript::WriteLine(L"Command: SAVEAS " + arxhost::FromUtf8(path));
  return arxhost::CommandLine::Execute(L"SAVEAS " + arxhost::FromUtf8(path)) == arxhost::CommandResult::kDone;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (auto status = Parse(argc, argv, options)) return *status;

  // Past a file-size limit a write then fails with EFBIG, which the writers
  // report as they report a full disk, instead of the signal ending the host.
  std::signal(SIGXFSZ, SIG_IGN);

  std::string tempError;
  if (!arxhost_shell::PreparePrivateTemp(&tempError)) {
    std::cerr << "arxhost: " << tempError << "\n";
    return 1;
  }
  arxhost::SysVars::Define(L"TEMPPREFIX", arxhost::FromUtf8(std::getenv("TEMP")) + L"/", true);
  if (options.release) arxhost::SysVars::SetReleaseLetter(*options.release);
  // The registry of the host reads the file that this variable names.
  if (options.registry) setenv("ARXHOST_REGISTRY", options.registry->c_str(), 1);

  std::ifstream scriptFile;
  std::optional<arxhost::StreamInput> input;
  if (!options.script) {
    input.emplace(std::cin, isatty(STDIN_FILENO) != 0);
  } else if (*options.script == "-") {
    input.emplace(std::cin, false);
  } else {
    scriptFile.open(*options.script);
    if (!scriptFile) {
      std::cerr << "arxhost: cannot open script " << *options.script << "\n";
      return 1;
    }
    input.emplace(scriptFile, false);
  }
  arxhost::InputScope scope(*input);

  int status = 0;
  for (const auto& module : options.modules) {
    if (!arxhost::Applications::Load(arxhost::FromUtf8(module))) {
      std::cerr << "arxhost: cannot load " << module << "\n";
      status = 1;
      break;
    }
  }
  if (status == 0) {
    arxhost::CommandLine::Run();
    if (options.save && !Save(*options.save)) status = 1;
  }
  arxhost::Applications::UnloadAll();
  arxhost_shell::RemoveSessionTemp();
  return status;
}
