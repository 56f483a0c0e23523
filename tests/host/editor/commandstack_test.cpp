#include <gtest/gtest.h>

#include "arx/rxobject.h"
#include "editor/commandstack.h"

namespace {
void Nothing() {}
void Other() {}

class CommandStackTest : public ::testing::Test {
 protected:
  void TearDown() override {
    stack->removeGroup(L"T_ONE");
    stack->removeGroup(L"T_TWO");
  }
  AcEdCommandStack* stack = acedRegCmds;
};
}  // namespace

TEST_F(CommandStackTest, IsTheRegistryEntry) {
  ASSERT_NE(stack, nullptr);
  EXPECT_EQ(stack, &arxhost::CommandStack());
  EXPECT_EQ(acrxSysRegistry()->at(L"NO_SUCH_SERVICE"), nullptr);
}

TEST_F(CommandStackTest, AddKeepsEveryValueAndAnswersStatuses) {
  auto instance = reinterpret_cast<HINSTANCE>(0x1234);
  AcEdCommand* made = nullptr;
  ASSERT_EQ(stack->addCommand(L"T_ONE", L"_Alpha", L"Alpha", 1, Nothing, nullptr, -1, instance, &made), Acad::eOk);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->functionAddr(), &Nothing);
  EXPECT_EQ(made->functionCode(), -1);
  EXPECT_EQ(made->commandFlags(), 1);
  EXPECT_EQ(made->UIContext(), nullptr);
  EXPECT_EQ(made->resourceHandle(), instance);
  EXPECT_STREQ(made->groupName(), L"T_ONE");

  struct Case {
    const wchar_t *group, *global, *local;
    AcRxFunctionPtr fn;
    Acad::ErrorStatus want;
  } cases[] = {
      {L"T_ONE", L"_ALPHA", L"Other", Other, Acad::eDuplicateKey},  // global name, any case
      {L"T_ONE", L"_Beta", L"alpha", Other, Acad::eDuplicateKey},   // local name
      {L"T_TWO", L"_Alpha", L"Alpha", Other, Acad::eOk},            // same names, other group
      {nullptr, L"_Gamma", L"Gamma", Other, Acad::eInvalidInput},
      {L"", L"_Gamma", L"Gamma", Other, Acad::eInvalidInput},
      {L"T_ONE", nullptr, L"Gamma", Other, Acad::eInvalidInput},
      {L"T_ONE", L"_Gamma", L"Gamma", nullptr, Acad::eInvalidInput},
      {L"T_ONE", L"_Delta", nullptr, Other, Acad::eOk},  // answers to its global name
  };
  for (const auto& c : cases)
    EXPECT_EQ(stack->addCommand(c.group, c.global, c.local, 0, c.fn), c.want)
        << (c.global ? arxhost::CommandStack().groupNames().size() : 0);
  EXPECT_NE(stack->lookupLocalCmd(L"_delta"), nullptr);
}

TEST_F(CommandStackTest, LooksUpNewestGroupFirstByGlobalOrLocalName) {
  ASSERT_EQ(stack->addCommand(L"T_ONE", L"_Cmd", L"Cmd", 0, Nothing), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"T_TWO", L"_Cmd", L"Cmd", 0, Other), Acad::eOk);
  EXPECT_EQ(stack->lookupGlobalCmd(L"_cmd")->functionAddr(), &Other);
  EXPECT_EQ(stack->lookupLocalCmd(L"CMD")->functionAddr(), &Other);
  EXPECT_EQ(stack->lookupGlobalCmd(L"Cmd"), nullptr) << "the underscore is part of this global name";
  ASSERT_EQ(stack->popGroupToTop(L"T_ONE"), Acad::eOk);
  EXPECT_EQ(stack->lookupCmd(L"_Cmd", true)->functionAddr(), &Nothing);
}

TEST_F(CommandStackTest, RemovesByGroupAndGlobalName) {
  ASSERT_EQ(stack->addCommand(L"T_ONE", L"_A", L"A", 0, Nothing), Acad::eOk);
  ASSERT_EQ(stack->addCommand(L"T_ONE", L"_B", L"B", 0, Nothing), Acad::eOk);
  EXPECT_EQ(stack->removeCmd(L"T_TWO", L"_A"), Acad::eKeyNotFound);
  EXPECT_EQ(stack->removeCmd(L"T_ONE", L"A"), Acad::eKeyNotFound) << "by global name only";
  EXPECT_EQ(stack->removeCmd(L"t_one", L"_a"), Acad::eOk);
  EXPECT_EQ(stack->lookupGlobalCmd(L"_A"), nullptr);
  EXPECT_EQ(stack->removeCmd(L"T_ONE", L"_A"), Acad::eKeyNotFound);
  ASSERT_EQ(stack->commandsOf(L"T_ONE").size(), 1u);
  EXPECT_EQ(stack->removeGroup(L"T_ONE"), Acad::eOk);
  EXPECT_EQ(stack->lookupGlobalCmd(L"_B"), nullptr);
  EXPECT_EQ(stack->removeGroup(L"T_ONE"), Acad::eKeyNotFound);
}
