#include <gtest/gtest.h>

#include <climits>

#include "arx/AcRxArxApp.h"
#include "arx/acutils.h"
#include "editor/commandstack.h"
#include "win32/modules.h"
#include "win32/resimage.h"

namespace {

// Records which handler a message reached.
class SlotProbe : public AcRxArxApp {
 public:
  int last = -1;
#define PROBE(n, name) \
  AcRx::AppRetCode name(void*) override { return last = n, AcRx::kRetOK; }
  PROBE(0, On_kNullMsg)
  PROBE(1, On_kInitAppMsg)
  PROBE(2, On_kUnloadAppMsg)
  PROBE(3, On_kLoadDwgMsg)
  PROBE(4, On_kUnloadDwgMsg)
  PROBE(5, On_kInvkSubrMsg)
  PROBE(6, On_kCfgMsg)
  PROBE(7, On_kEndMsg)
  PROBE(8, On_kQuitMsg)
  PROBE(9, On_kSaveMsg)
  PROBE(10, On_kDependencyMsg)
  PROBE(11, On_kNoDependencyMsg)
  PROBE(12, On_kOleUnloadAppMsg)
  PROBE(13, On_kPreQuitMsg)
  PROBE(14, On_kInitDialogMsg)
  PROBE(15, On_kEndDialogMsg)
#undef PROBE
};

void Nothing() {}

}  // namespace

TEST(ArxApp, EachMessageCodeReachesItsHandlerAndOthersNone) {
  SlotProbe app;
  for (int code = 0; code <= 15; ++code) {
    app.last = -1;
    EXPECT_EQ(app.EntryPoint(static_cast<AcRx::AppMsgCode>(code), nullptr), AcRx::kRetOK);
    EXPECT_EQ(app.last, code);
  }
  for (long long code : {16LL, 17LL, 1000LL, static_cast<long long>(INT_MAX), -1LL, static_cast<long long>(INT_MIN)}) {
    app.last = -1;
    EXPECT_EQ(app.EntryPoint(static_cast<AcRx::AppMsgCode>(static_cast<int>(code)), nullptr), AcRx::kRetOK) << code;
    EXPECT_EQ(app.last, -1) << code;
  }
}

TEST(ArxApp, CommandMapTakesLocalNamesFromTheStringTableWhenItHasNone) {
  // A module whose string 7 is "Localised".
  std::vector<unsigned char> block;
  for (int i = 0; i < 16; ++i) {
    if (i == 7) {
      std::vector<unsigned char> units;
      arxhost::PutU16(block, static_cast<std::uint16_t>(arxhost::PutUtf16(units, L"Localised")));
      block.insert(block.end(), units.begin(), units.end());
    } else {
      arxhost::PutU16(block, 0);
    }
  }
  const auto image = arxhost::BuildResourceImage({{arxhost::kResourceTypeString, 1, 0x409, block}});
  arxhost::ModuleImage module;
  module.path = L"/modules/map.arx";
  module.resources = image;
  HINSTANCE instance = arxhost::Modules::Register(std::move(module));

  static const AcRxArxCommandEntry map[] = {
      {L"T_MAP", L"_Named", nullptr, ACRX_CMD_TRANSPARENT, Nothing, nullptr, 7},
      {L"T_MAP", L"_Session", L"Session", ACRX_CMD_SESSION, Nothing, nullptr, 0},
  };
  AcRxArxApp app(map);
  app.m_hdllInstance = instance;
  ASSERT_EQ(app.EntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  AcEdCommand* named = acedRegCmds->lookupGlobalCmd(L"_Named");
  ASSERT_NE(named, nullptr);
  EXPECT_STREQ(named->localName(), L"Localised");
  EXPECT_EQ(named->resourceHandle(), instance);
  AcEdCommand* session = acedRegCmds->lookupGlobalCmd(L"_Session");
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->resourceHandle(), nullptr) << "session commands carry no resource handle";
  ASSERT_EQ(app.EntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"_Named"), nullptr);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"_Session"), nullptr);
  arxhost::Modules::Unregister(instance);
}
