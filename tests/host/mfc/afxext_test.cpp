#include <gtest/gtest.h>

#include "arx/acextmodule.h"
#include "win32/modules.h"
#include "win32/resimage.h"
#include "win32/winapi.h"

namespace {

// A module with one string-table block, so that FindResource can tell the
// modules of the chain apart.
struct ResourceModule {
  explicit ResourceModule(const wchar_t* path, bool withStrings) {
    if (withStrings) {
      std::vector<unsigned char> block;
      for (int i = 0; i < 16; ++i) arxhost::PutU16(block, 0);
      image = arxhost::BuildResourceImage({{arxhost::kResourceTypeString, 1, 0x409, block}});
    }
    arxhost::ModuleImage m;
    m.path = path;
    m.resources = image;
    instance = arxhost::Modules::Register(std::move(m));
  }
  ~ResourceModule() { arxhost::Modules::Unregister(instance); }
  std::vector<unsigned char> image;
  HINSTANCE instance;
};

}  // namespace

TEST(ExtensionModule, InitialisesOnceJoinsTheChainAndTerminates) {
  ResourceModule plain(L"/m/plain.arx", false), strings(L"/m/strings.arx", true);
  const size_t before = arxhost::DynLinkLibraries().size();
  CAcExtensionModule ext;
  int notAModule = 0;
  EXPECT_FALSE(ext.AttachInstance(reinterpret_cast<HINSTANCE>(&notAModule)));
  EXPECT_FALSE(ext.AttachInstance(nullptr));
  EXPECT_EQ(arxhost::DynLinkLibraries().size(), before);

  ASSERT_TRUE(ext.AttachInstance(strings.instance));
  EXPECT_TRUE(ext.AttachInstance(plain.instance)) << "a second attach changes nothing";
  EXPECT_EQ(ext.ModuleResourceInstance(), strings.instance);
  EXPECT_EQ(ext.DefaultResourceInstance(), AfxGetResourceHandle());
  ASSERT_EQ(arxhost::DynLinkLibraries().size(), before + 1);

  // Resources are found in the current module first, then along the chain.
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(1), RT_STRING), strings.instance);
  {
    CAcModuleResourceOverride use(plain.instance);
    EXPECT_EQ(AfxGetResourceHandle(), plain.instance);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(1), RT_STRING), strings.instance);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(2), RT_STRING), plain.instance) << "nowhere: the current one";
  }
  EXPECT_EQ(AfxGetResourceHandle(), ext.DefaultResourceInstance());

  ext.DetachInstance();
  EXPECT_FALSE(ext.Attached());
  EXPECT_EQ(arxhost::DynLinkLibraries().size(), before);
  ext.DetachInstance();  // harmless
}
