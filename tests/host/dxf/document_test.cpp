#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DxfChecker.h"
#include "dxf/DocumentWriter.h"

namespace fs = std::filesystem;
using namespace arxhost::dxf;

namespace {

fs::path TempDir() {
  auto dir = ProcessFolder();
  fs::create_directories(dir);
  return dir;
}

void NoEntities(WriteContext&, std::uint64_t, Handle) {}

}  // namespace

TEST(DxfDocument, EmptyDrawingPassesTheAudit) {
  if (!dxftest::CheckerAvailable()) GTEST_SKIP() << "no " DXF_PYTHON;
  auto path = (TempDir() / "empty.dxf").string();
  ASSERT_EQ(SaveDocument(DefaultDrawingView(), NoEntities, path), "");
  auto result = dxftest::RunChecker(path);
  EXPECT_TRUE(result.ok()) << result.output;
}
