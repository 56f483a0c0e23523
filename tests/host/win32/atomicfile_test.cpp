#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FullDisk.h"
#include "TempFolder.h"
#include "win32/atomicfile.h"

namespace fs = std::filesystem;
using arxhost::WriteFileAtomically;

namespace {

struct AtomicFileTest : ::testing::Test {
  TempFolder folder;
  const fs::path& dir = folder.Path();
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t FilesIn(const fs::path& p) { return static_cast<size_t>(std::distance(fs::directory_iterator(p), {})); }
};


}  // namespace

TEST_F(AtomicFileTest, ReplacesTheTargetAndLeavesNothingElse) {
  auto target = dir / "drawing.dxf";
  ASSERT_EQ(WriteFileAtomically(target.string(), "old"), "");
  ASSERT_EQ(WriteFileAtomically(target.string(), "new text"), "");
  EXPECT_EQ(Read(target), "new text");
  EXPECT_EQ(FilesIn(dir), 1u);
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_NE(info.st_mode & S_IRGRP, 0u) << "an ordinary document, not a private temporary file";
}

TEST_F(AtomicFileTest, FailuresNameTheFileAndLeaveNoPartialFile) {
  auto existing = dir / "keep.dxf";
  ASSERT_EQ(WriteFileAtomically(existing.string(), "kept"), "");
  fs::create_directories(dir / "sub.dxf");
  struct Case {
    std::string path, says;
  } cases[] = {
      {(dir / "missing" / "a.dxf").string(), "does not exist"},
      {(dir / "sub.dxf").string(), "folder"},
      {"", "no file name"},
  };
  for (const auto& c : cases) {
    std::string error = WriteFileAtomically(c.path, "text");
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    if (!c.path.empty()) {
      EXPECT_NE(error.find(c.path), std::string::npos) << error;
    }
  }
  EXPECT_EQ(FilesIn(dir), 2u);  // keep.dxf and sub.dxf only
  EXPECT_EQ(Read(existing), "kept");
}

TEST_F(AtomicFileTest, UnwritableFolderGivesAnErrorAndNoFile) {
  auto readOnly = dir / "ro";
  fs::create_directories(readOnly);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(readOnly.c_str(), W_OK) == 0) GTEST_SKIP() << "running as root";
  std::string error = WriteFileAtomically((readOnly / "a.dxf").string(), "text");
  fs::permissions(readOnly, fs::perms::owner_all);
  EXPECT_NE(error.find("Cannot save"), std::string::npos) << error;
  EXPECT_EQ(FilesIn(readOnly), 0u);
}

TEST_F(AtomicFileTest, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  auto target = dir / "drawing.dxf";
  ASSERT_EQ(WriteFileAtomically(target.string(), "old"), "");
  std::string error;
  {
    FullDisk full(1);
    error = WriteFileAtomically(target.string(), "a drawing too big for the disk");
  }
  EXPECT_NE(error.find("Cannot save " + target.string()), std::string::npos) << error;
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(FilesIn(dir), 1u);
}
