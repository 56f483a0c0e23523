// Reading a file whose entities point back at long lists of groups, then
// letting the model go: in process (the model file path's reader, also used
// by the fuzz target) and through the conversion child.
#include <gtest/gtest.h>

#include <filesystem>

#include "Kelvrash90Ux64.h"
#include "TestSupport.h"
#include "ViewGroupsFile.h"

namespace {

using testiges::Converted;

TEST(IgesTeardown, ModelsWithLongAssociativityListsAreReleasedCleanly) {
  // 5 members stay in the first blocks of Open CASCADE's lists; 123 and 600
  // run over many, where removing members one by one faults.
  for (int groups : {5, 123, 600}) {
    SCOPED_TRACE(groups);
    Converted c;
    Convert(testiges::ViewGroupsFile(groups), c);
    ASSERT_TRUE(c.ok) << c.reason;
    // The line arrives; the teardown ran when the reader went (a leak would
    // show under the leak checker, a fault ends the test).
    EXPECT_FALSE(testiges::TopLevel(c.model()).empty());
  }
}

TEST(IgesTeardown, TheModelFilePathConvertsSuchAFile) {
  TempFolder dir;
  const std::string iges = dir.File("views.igs");
  const std::string model = dir.File("views.3dm");
  { std::ofstream(iges, std::ios::binary) << testiges::ViewGroupsFile(123); }
  KelvIges converter;
  ASSERT_EQ(converter.IGESTo3DM(CString(iges.c_str()), CString(model.c_str()), 4), 1)
      << KelvIges::GetError().GetString();
  EXPECT_TRUE(std::filesystem::exists(model));
}

}  // namespace
