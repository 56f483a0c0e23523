#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "mfc/dialog_driver.h"
#include "mfc/dialog_lines.h"
#include "win32/input.h"
#include "win32/transcript.h"

using namespace testdlg;
using arxhost::ModalDialog;
using arxhost::ScopedDialogDriver;

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
  ON_BN_CLICKED(kFirstA, &CProbeDlg::OnFirstA)
END_MESSAGE_MAP()

namespace {

class Dialogs : public ::testing::Test {
 protected:
  ResourceModule module_{ProbeTemplate(), ProbeItems({"Mesh", "3D Faces", "Lines"})};
};

}  // namespace

TEST_F(Dialogs, ABuiltDialogHasItsTemplateControlsAndListItems) {
  CProbeDlg dlg;
  bool answered = false;
  ScopedDialogDriver driver([&](ModalDialog& d) {
    answered = true;
    EXPECT_EQ(d.Caption(), L"Probe Options");
    ASSERT_EQ(d.Controls().size(), 8u);
    EXPECT_EQ(d.Control(kFirstA)->kind, arxhost::ControlKind::AutoRadioButton);
    EXPECT_EQ(d.Control(IDOK)->kind, arxhost::ControlKind::DefPushButton);
    EXPECT_EQ(d.Control(IDCANCEL)->kind, arxhost::ControlKind::PushButton);
    EXPECT_EQ(d.Control(kList)->kind, arxhost::ControlKind::ComboBox);
    EXPECT_EQ(d.Control(kLabel)->kind, arxhost::ControlKind::Static);
    EXPECT_EQ(d.Items(kList), (std::vector<std::wstring>{L"Mesh", L"3D Faces", L"Lines"}));
    // The fields (all 0) were shown by the base class's initialisation.
    EXPECT_TRUE(d.IsChecked(kFirstA));
    EXPECT_FALSE(d.IsChecked(kSecondA));
    EXPECT_TRUE(d.IsChecked(kFirstB));
    EXPECT_EQ(d.Selection(kList), 0);
    EXPECT_EQ(d.Text(kList), L"Mesh");

    // The class library's view of the same controls.
    CWnd* dialog = CWnd::FromHandle(d.Handle());
    EXPECT_EQ(dialog, &dlg);
    CWnd* list = dialog->GetDlgItem(kList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list, CWnd::FromHandle(list->m_hWnd)) << "one wrapper per window";
    EXPECT_EQ(list->GetDlgCtrlID(), kList);
    EXPECT_TRUE(list->IsWindowEnabled());
    EXPECT_FALSE(list->EnableWindow(FALSE)) << "was enabled";
    EXPECT_FALSE(list->IsWindowEnabled());
    EXPECT_FALSE(d.IsEnabled(kList));
    EXPECT_EQ(dialog->GetDlgItem(999), nullptr);
    d.Ok();
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_TRUE(answered);
  EXPECT_EQ(dlg.initResult, TRUE);
  EXPECT_EQ(dlg.m_hWnd, nullptr) << "the windows go when the dialog ends";
}

TEST_F(Dialogs, EachWayOfClosingGivesItsResultAndOnlyOkSavesTheControls) {
  struct Case {
    const char* name;
    std::function<std::string(ModalDialog&)> close;
    INT_PTR result;
    bool saved;
  } cases[] = {
      {"OK", [](ModalDialog& d) { return d.Ok(); }, IDOK, true},
      {"Cancel", [](ModalDialog& d) { return d.Cancel(); }, IDCANCEL, false},
      {"Escape", [](ModalDialog& d) { return d.Escape(); }, IDCANCEL, false},
      {"close box", [](ModalDialog& d) { return d.CloseBox(); }, IDCANCEL, false},
      {"driver gives up", [](ModalDialog&) { return std::string(); }, IDCANCEL, false},
  };
  for (const auto& c : cases) {
    CProbeDlg dlg;
    ScopedDialogDriver driver([&](ModalDialog& d) {
      EXPECT_EQ(d.Click(kSecondA), "");
      EXPECT_EQ(d.Select(kList, 2), "");
      EXPECT_EQ(c.close(d), "") << c.name;
      if (std::string(c.name) != "driver gives up") {
        EXPECT_TRUE(d.Ended()) << c.name;
      }
      if (std::string(c.name) != "driver gives up") {
        EXPECT_EQ(d.Click(kFirstA), "The dialog has closed.");
      }
    });
    EXPECT_EQ(dlg.DoModal(), c.result) << c.name;
    EXPECT_EQ(dlg.m_a, c.saved ? 1 : 0) << c.name;
    EXPECT_EQ(dlg.m_list, c.saved ? 2 : 0) << c.name;
  }
}

TEST_F(Dialogs, ClicksFollowTheRadioGroupsAndReachTheMessageMap) {
  CProbeDlg dlg;
  ScopedDialogDriver driver([&](ModalDialog& d) {
    EXPECT_EQ(d.Click(kSecondA), "");
    EXPECT_TRUE(d.IsChecked(kSecondA));
    EXPECT_FALSE(d.IsChecked(kFirstA));
    EXPECT_TRUE(d.IsChecked(kFirstB)) << "another group is left alone";
    EXPECT_EQ(dlg.clicks, 0);
    EXPECT_EQ(d.Click(kFirstA), "");
    EXPECT_EQ(d.Click(kFirstA), "");
    EXPECT_EQ(dlg.clicks, 2);
    EXPECT_FALSE(d.IsChecked(kSecondA));

    CWnd::FromHandle(d.Handle())->GetDlgItem(kSecondB)->EnableWindow(FALSE);
    struct Refused {
      std::string got, want;
    } refused[] = {
        {d.Click(kSecondB), "The control 13 is disabled."},
        {d.Click(999), "The dialog has no control 999."},
        {d.Click(kLabel), "The control -1 is a static, which takes no clicks."},
        {d.Click(kList), "The control 14 is a combo box, which takes no clicks."},
        {d.Select(kFirstA, 0), "The control 10 is a auto radio button, not a list."},
        {d.Select(kList, 3), "The list 14 has no item 3 (it has 3, numbered from 0)."},
        {d.Select(kList, -1), "The list 14 has no item -1 (it has 3, numbered from 0)."},
    };
    for (const auto& r : refused) EXPECT_EQ(r.got, r.want);
    EXPECT_FALSE(d.IsChecked(kSecondB));
    EXPECT_EQ(d.Selection(kList), 0);
    d.Ok();
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_a, 0);
  EXPECT_EQ(dlg.m_b, 0);
}

TEST_F(Dialogs, RadioAndListExchangeBothWays) {
  // Fields shown in the controls, then read back as they are.
  struct Case {
    int a, list, b;
    bool firstA, secondA, secondB;
    int selection;
    int readA, readList, readB;
  } cases[] = {
      {0, 0, 0, true, false, false, 0, 0, 0, 0},
      {1, 2, 1, false, true, true, 2, 1, 2, 1},
      {-1, -1, -1, false, false, false, -1, -1, -1, -1},
      {5, 7, 2, false, false, false, -1, -1, -1, -1},  // out of range: nothing selected
  };
  for (const auto& c : cases) {
    CProbeDlg dlg;
    dlg.m_a = c.a;
    dlg.m_list = c.list;
    dlg.m_b = c.b;
    ScopedDialogDriver driver([&](ModalDialog& d) {
      EXPECT_EQ(d.IsChecked(kFirstA), c.firstA) << c.a;
      EXPECT_EQ(d.IsChecked(kSecondA), c.secondA) << c.a;
      EXPECT_EQ(d.IsChecked(kSecondB), c.secondB) << c.b;
      EXPECT_EQ(d.Selection(kList), c.selection) << c.list;
      d.Ok();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_a, c.readA);
    EXPECT_EQ(dlg.m_list, c.readList);
    EXPECT_EQ(dlg.m_b, c.readB);
  }
}

namespace {

class CBadExchangeDlg : public CDialog {
 public:
  explicit CBadExchangeDlg(int radioId) : CDialog(kTemplate), radioId_(radioId) {}
  int value = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, radioId_, value); }

 private:
  int radioId_;
};

}  // namespace

TEST_F(Dialogs, AnExchangeWithAWrongControlFailsTheDialog) {
  // 999 does not exist; 11 does not start a group; 14 is no radio button.
  for (int id : {999, kSecondA, kList}) {
    CBadExchangeDlg dlg(id);
    bool answered = false;
    ScopedDialogDriver driver([&](ModalDialog&) { answered = true; });
    EXPECT_EQ(dlg.DoModal(), -1) << id;
    EXPECT_FALSE(answered);
  }
}

TEST(DialogResources, AMissingOrBrokenResourceMakesNoDialog) {
  const auto dialog = arxhost::WriteDialogTemplate(ProbeTemplate());
  const auto items = arxhost::WriteDialogInit(ProbeItems({"Mesh"}));
  auto truncated = dialog;
  truncated.resize(truncated.size() / 2);
  std::vector<arxhost::ResourceBlob> none;
  std::vector<arxhost::ResourceBlob> brokenTemplate = {{arxhost::kResourceTypeDialog, kTemplate, 0x409, truncated}};
  std::vector<arxhost::ResourceBlob> itemsForAMissingControl = {
      {arxhost::kResourceTypeDialog, kTemplate, 0x409, dialog},
      {arxhost::kResourceTypeDlgInit, kTemplate, 0x409, arxhost::WriteDialogInit(ProbeItems({"x"}, 77))}};
  std::vector<arxhost::ResourceBlob> itemsForAButton = {
      {arxhost::kResourceTypeDialog, kTemplate, 0x409, dialog},
      {arxhost::kResourceTypeDlgInit, kTemplate, 0x409, arxhost::WriteDialogInit(ProbeItems({"x"}, IDOK))}};
  std::vector<arxhost::ResourceBlob> unterminatedItems = {
      {arxhost::kResourceTypeDialog, kTemplate, 0x409, dialog},
      {arxhost::kResourceTypeDlgInit, kTemplate, 0x409, std::vector<unsigned char>(items.begin(), items.end() - 2)}};
  for (const auto* blobs : {&none, &brokenTemplate, &itemsForAMissingControl, &itemsForAButton, &unterminatedItems}) {
    ResourceModule module(*blobs);
    CProbeDlg dlg;
    bool answered = false;
    ScopedDialogDriver driver([&](ModalDialog&) { answered = true; });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(answered);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
  }
}

TEST(DialogTemplates, RoundTripInBothForms) {
  for (bool extended : {true, false}) {
    auto d = ProbeTemplate();
    d.extended = extended;
    d.items[0].creationData = {1, 2, 3};
    d.items[1].text = L"wide \U0001F600 text";
    std::string error;
    auto parsed = arxhost::ParseDialogTemplate(arxhost::WriteDialogTemplate(d), error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->extended, extended);
    EXPECT_EQ(parsed->caption, d.caption);
    EXPECT_EQ(parsed->typeface, d.typeface);
    EXPECT_EQ(parsed->style, d.style);
    ASSERT_EQ(parsed->items.size(), d.items.size());
    for (size_t i = 0; i < d.items.size(); ++i) {
      EXPECT_EQ(parsed->items[i].id, d.items[i].id);
      EXPECT_EQ(parsed->items[i].className, d.items[i].className);
      EXPECT_EQ(parsed->items[i].text, d.items[i].text);
      EXPECT_EQ(parsed->items[i].style, d.items[i].style);
      EXPECT_EQ(parsed->items[i].creationData, d.items[i].creationData);
    }
  }
}

TEST(DialogTemplates, EveryTruncationIsRefusedWithAReason) {
  const auto bytes = arxhost::WriteDialogTemplate(ProbeTemplate());
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::string error;
    EXPECT_FALSE(arxhost::ParseDialogTemplate(std::span(bytes.data(), n), error)) << n;
    EXPECT_EQ(error.rfind("dialog template: ", 0), 0u) << n << ": " << error;
  }
  const auto init = arxhost::WriteDialogInit(ProbeItems({"Mesh", "Lines"}));
  for (size_t n = 0; n < init.size(); ++n) {
    std::string error;
    EXPECT_FALSE(arxhost::ParseDialogInit(std::span(init.data(), n), error)) << n;
    EXPECT_FALSE(error.empty());
  }
  // A count of controls that the data cannot hold, and an unknown class.
  auto many = bytes;
  many[16] = 0xFF;
  many[17] = 0xFF;
  std::string error;
  EXPECT_FALSE(arxhost::ParseDialogTemplate(many, error));
  EXPECT_NE(error.find("announces 65535 controls"), std::string::npos) << error;
  auto d = ProbeTemplate();
  d.items.resize(1);
  auto oneItem = arxhost::WriteDialogTemplate(d);
  // The class ordinal of the only control follows its id.
  for (size_t i = 20; i + 3 < oneItem.size(); ++i)
    if (oneItem[i] == 0xFF && oneItem[i + 1] == 0xFF && oneItem[i + 2] == 0x80) oneItem[i + 2] = 0x99;
  EXPECT_FALSE(arxhost::ParseDialogTemplate(oneItem, error));
  EXPECT_NE(error.find("unknown class number 153"), std::string::npos) << error;
}

TEST_F(Dialogs, ScriptLinesAnswerTheDialog) {
  std::vector<std::string> lines = {"click 11", "select 14 1", "", "frobnicate", "click 99", "select 14 x",
                                    "CLICK 13", "ok", "never read"};
  size_t next = 0;
  std::string said;
  auto driver = std::make_shared<arxhost::LineDialogDriver>(
      [&]() -> std::optional<std::string> {
        if (next >= lines.size()) return std::nullopt;
        return lines[next++];
      },
      [&](const std::string& text) { said += text; }, false);
  ScopedDialogDriver scope(driver);
  CProbeDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(next, 8u) << "reading stops when the dialog closes";
  EXPECT_EQ(dlg.m_a, 1);
  EXPECT_EQ(dlg.m_list, 1);
  EXPECT_EQ(dlg.m_b, 1);
  EXPECT_EQ(said,
            "\"frobnicate\" is not a dialog answer. Answer with: click ID, select ID INDEX, ok or cancel.\n"
            "The dialog has no control 99.\n"
            "\"select 14 x\" is not a dialog answer. Answer with: click ID, select ID INDEX, ok or cancel.\n");

  // The end of the input cancels.
  lines = {"click 11"};
  next = 0;
  said.clear();
  CProbeDlg second;
  EXPECT_EQ(second.DoModal(), IDCANCEL);
  EXPECT_EQ(second.m_a, 0);
  EXPECT_EQ(said, "The input has ended: the dialog \"Probe Options\" is cancelled.\n");
}

TEST_F(Dialogs, AtATerminalTheDialogIsDrawnBeforeEachLine) {
  std::vector<std::string> lines = {"click 11", "cancel"};
  size_t next = 0;
  std::vector<std::string> drawings;
  auto driver = std::make_shared<arxhost::LineDialogDriver>(
      [&]() -> std::optional<std::string> { return next < lines.size() ? std::optional(lines[next++]) : std::nullopt; },
      [&](const std::string& text) { drawings.push_back(text); }, true);
  ScopedDialogDriver scope(driver);
  CProbeDlg dlg;
  dlg.m_list = -1;
  ScopedDialogDriver disable([&](ModalDialog& d) {
    CWnd::FromHandle(d.Handle())->GetDlgItem(kSecondB)->EnableWindow(FALSE);
    driver->Answer(d);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  ASSERT_EQ(drawings.size(), 2u);
  EXPECT_EQ(drawings[0],
            "+-- Probe Options ----------------------------------------------\n"
            "| [10] (*) First A\n"
            "| [11] ( ) Second A\n"
            "| [12] (*) First B\n"
            "| [13] ( ) Second B  (disabled)\n"
            "| [14] list: 0 Mesh  1 3D Faces  2 Lines  (nothing selected)\n"
            "| [1] << OK >>  (default)   [2] < Cancel >\n"
            "| Pick one of each\n"
            "+---------------------------------------------------------------\n"
            "Answer with: click ID, select ID INDEX, ok or cancel.\n");
  EXPECT_NE(drawings[1].find("| [10] ( ) First A\n| [11] (*) Second A\n"), std::string::npos) << drawings[1];
}

TEST_F(Dialogs, WithoutADriverTheHostInputAnswersAndTheTranscriptShowsIt) {
  arxhost::LineInput script({L"click 11", L"select 14 9", L"ok", L"QUIT"});
  arxhost::InputScope scope(script);
  arxhost::Transcript::Capture transcript;
  CProbeDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_a, 1);
  EXPECT_EQ(transcript.Text(),
            L"Dialog: Probe Options\n"
            L"Dialog answer: click 11\n"
            L"Dialog answer: select 14 9\n"
            L"The list 14 has no item 9 (it has 3, numbered from 0).\n"
            L"Dialog answer: ok\n");
  EXPECT_EQ(script.ReadLine(), L"QUIT") << "the rest of the script is left to the command line";

  // With no input at all the dialog is cancelled.
  arxhost::LineInput empty;
  arxhost::InputScope none(empty);
  CProbeDlg second;
  EXPECT_EQ(second.DoModal(), IDCANCEL);
}
