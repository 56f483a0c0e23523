// A drawing's solids on a disk that fills up: the command line says that the
// disk is full, not only that objects were ignored, and no temporary SAT
// file stays behind.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "FullDisk.h"
#include "Kelvrash90Ux64.h"
#include "TempFolder.h"
#include "ThreeDmImporter.h"
#include "arx/dbInspector.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace fs = std::filesystem;

TEST(FullDisk, TheSolidsThatCannotBeWrittenSayTheDiskIsFull) {
  TempFolder folder;
  const std::string templ = folder.Path().string();
  const char* saved = std::getenv("TEMP");
  const std::optional<std::string> before = saved ? std::optional<std::string>(saved) : std::nullopt;
  ::setenv("TEMP", templ.c_str(), 1);
  const std::string model = templ + "/model.k3m";
  KelvIges converter;
  ASSERT_EQ(converter.IGESTo3DM(CString(TOLVANE_FIXTURES "/demo_solid.igs"), CString(model.c_str()), 4), 1)
      << arxhost::ToUtf8(KelvIges::GetError().str());

  arxhost::ResetWorkingDatabase();
  arxhost::Transcript::Capture transcript;
  int result;
  {
    FullDisk full(1024);  // the model file is read; its solid's SAT text is larger
    ThreeDmImporter importer;
    result = importer.ImportFile(CString(model.c_str()), 1, 0, 0, 0);
  }
  const std::string printed = arxhost::ToUtf8(transcript.Text());
  EXPECT_EQ(result, 1);
  EXPECT_NE(printed.find("Failure [The SAT file \"" + templ + "\\VRNTemp.sat\" was not written: the disk is full"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("Successfully imported 0 object(s). 1 object(s) were ignored"), std::string::npos)
      << printed;
  EXPECT_EQ(arxhost::DatabaseInspector().entities(L"*Model_Space").size(), 0u);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(templ)) files += entry.path().filename() != "model.k3m";
  EXPECT_EQ(files, 0);

  arxhost::ResetWorkingDatabase();
  if (before)
    ::setenv("TEMP", before->c_str(), 1);
  else
    ::unsetenv("TEMP");
}
