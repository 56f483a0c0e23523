// SAVEAS and --save through the arxhost program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "DrawingFixture.h"

namespace fs = std::filesystem;
using namespace dxftest;

namespace {

using HostRun = CheckResult;

HostRun RunHost(const std::string& args) { return RunCommand(std::string(ARXHOST_EXE) + " " + args); }

}  // namespace

TEST(SaveAsCommand, WritesTheDrawingFromAScriptAndAfterIt) {
  auto dir = TempDir("saveas");
  fs::remove_all(dir);
  fs::create_directories(dir);
  auto script = WriteText(dir / "save.scr",
                          "SAVEAS " + (dir / "with blank").string() + "\n"      // gets ".dxf"
                          "SAVEAS " + (dir / "missing" / "x.dxf").string() + "\n"  // says why, script goes on
                          "SAVEAS\n" + (dir / "asked.dxf").string() + "\n");     // name asked for
  HostRun run = RunHost("--script " + Quote(script) + " --save " + Quote((dir / "end.dxf").string()));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Cannot save " + (dir / "missing" / "x.dxf").string() + ": the folder"), std::string::npos)
      << run.output;
  for (const char* name : {"with blank.dxf", "asked.dxf", "end.dxf"}) {
    ASSERT_TRUE(fs::exists(dir / name)) << name << "\n" << run.output;
    if (CheckerAvailable()) {
      auto result = RunChecker((dir / name).string());
      EXPECT_TRUE(result.ok()) << name << ": " << result.output;
    }
  }
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(SaveAsCommand, ADrawingThatCannotBeSavedFailsTheProgram) {
  auto dir = TempDir("saveas_fail");
  auto script = WriteText(dir / "empty.scr", "");
  HostRun run = RunHost("--script " + Quote(script) + " --save " + Quote((dir / "no" / "such.dxf").string()));
  EXPECT_NE(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Cannot save"), std::string::npos) << run.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "only the script, no partial file";
}
