#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rcparser.h"
#include "win32/dialog_template.h"
#include "win32/resimage.h"
#include "win32/strconv.h"
#include "win32/window.h"

namespace {

struct Compiled {
  bool ok = false;
  std::string error;
  std::vector<arxhost::ResourceBlob> blobs;
};

Compiled CompileRc(const std::string& rc) {
  Compiled c;
  arxrc::Parser parser;
  c.ok = parser.LoadText(rc, L"dialog.rc") && parser.Compile(c.blobs);
  c.error = arxhost::ToUtf8(parser.ErrorText());
  return c;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

}  // namespace

TEST(DialogStatements, ControlsGetTheirClassesAndDefaultStyles) {
  auto c = CompileRc(
      "#define IDD_PICK 300\n"
      "#define IDC_LIST 14\n"
      "IDD_PICK DIALOGEX 1, 2, 214, 124\n"
      "CAPTION \"Pick\"\n"
      "FONT 8, \"MS Sans Serif\", 400, 1, 0x1\n"
      "BEGIN\n"
      "  CONTROL \"Radio\",10,\"Button\",BS_AUTORADIOBUTTON | WS_GROUP,73,7,53,10\n"
      "  LTEXT \"Label\",IDC_STATIC,7,7,54,8\n"
      "  LTEXT \"Sunken\",IDC_STATIC,7,59,200,27,SS_SUNKEN\n"
      "  COMBOBOX IDC_LIST,136,35,71,82,CBS_DROPDOWNLIST | WS_VSCROLL\n"
      "  DEFPUSHBUTTON \"&OK\",IDOK,52,103,50,14\n"
      "  PUSHBUTTON \"&Cancel\",IDCANCEL,110,103,50,14,WS_DISABLED\n"
      "  EDITTEXT 15,1,1,10,10\n"
      "END\n"
      "IDD_PICK DLGINIT\n"
      "BEGIN\n"
      "  IDC_LIST, 0x403, 5, 0\n"
      "  \"Mesh\\0\"\n"
      "  IDC_LIST, 0x403, 9, 0, \"3D Faces\\0\"\n"
      "  0\n"
      "END\n");
  ASSERT_TRUE(c.ok) << c.error;
  ASSERT_EQ(c.blobs.size(), 2u);
  EXPECT_EQ(c.blobs[0].type, arxhost::kResourceTypeDialog);
  EXPECT_EQ(c.blobs[0].id, 300u);
  std::string error;
  auto d = arxhost::ParseDialogTemplate(c.blobs[0].data, error);
  ASSERT_TRUE(d) << error;
  EXPECT_TRUE(d->extended);
  EXPECT_EQ(d->caption, L"Pick");
  // No STYLE: the default popup, with a caption and the font flag added.
  EXPECT_EQ(d->style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ((std::vector<int>{d->x, d->y, d->cx, d->cy}), (std::vector<int>{1, 2, 214, 124}));
  EXPECT_EQ(d->pointSize, 8);
  EXPECT_EQ(d->typeface, L"MS Sans Serif");
  EXPECT_EQ(d->weight, 400);
  EXPECT_EQ(d->italic, 1);
  EXPECT_EQ(d->charset, 1);

  struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
  } expected[] = {
      {10, L"Button", L"Radio", kChild | BS_AUTORADIOBUTTON | WS_GROUP},
      {-1, L"Static", L"Label", kChild | SS_LEFT | WS_GROUP},
      {-1, L"Static", L"Sunken", kChild | SS_LEFT | WS_GROUP | SS_SUNKEN},
      {14, L"ComboBox", L"", kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
      {IDOK, L"Button", L"&OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
      {IDCANCEL, L"Button", L"&Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED},
      {15, L"Edit", L"", kChild | ES_LEFT | WS_BORDER | WS_TABSTOP},
  };
  ASSERT_EQ(d->items.size(), std::size(expected));
  for (size_t i = 0; i < d->items.size(); ++i) {
    EXPECT_EQ(d->items[i].id, expected[i].id) << i;
    EXPECT_EQ(d->items[i].className, expected[i].className) << i;
    EXPECT_EQ(d->items[i].text, expected[i].text) << i;
    EXPECT_EQ(d->items[i].style, expected[i].style) << i;
  }
  EXPECT_EQ((std::vector<short>{d->items[3].x, d->items[3].y, d->items[3].cx, d->items[3].cy}),
            (std::vector<short>{136, 35, 71, 82}));

  EXPECT_EQ(c.blobs[1].type, arxhost::kResourceTypeDlgInit);
  auto init = arxhost::ParseDialogInit(c.blobs[1].data, error);
  ASSERT_TRUE(init) << error;
  ASSERT_EQ(init->size(), 2u);
  EXPECT_EQ((*init)[0].controlId, 14);
  EXPECT_EQ((*init)[0].message, arxhost::kDlgInitComboAddString);
  EXPECT_EQ((*init)[0].Text(), L"Mesh");
  EXPECT_EQ((*init)[1].Text(), L"3D Faces");
}

TEST(DialogStatements, AnExplicitStyleAndTheOldFormAreKept) {
  auto c = CompileRc(
      "5 DIALOG 0, 0, 10, 10\n"
      "STYLE WS_POPUP | DS_MODALFRAME\n"
      "CAPTION \"Old\"\n"
      "BEGIN\n"
      "  AUTOCHECKBOX \"Check\",3,1,1,5,5\n"
      "END\n");
  ASSERT_TRUE(c.ok) << c.error;
  std::string error;
  auto d = arxhost::ParseDialogTemplate(c.blobs[0].data, error);
  ASSERT_TRUE(d) << error;
  EXPECT_FALSE(d->extended);
  EXPECT_EQ(d->style, static_cast<DWORD>(WS_POPUP | DS_MODALFRAME));
  ASSERT_EQ(d->items.size(), 1u);
  EXPECT_EQ(d->items[0].style, kChild | BS_AUTOCHECKBOX | WS_TABSTOP);
}

TEST(DialogStatements, MistakesAreReportedWithTheirLine) {
  struct Case {
    const char* rc;
    const char* message;
  } cases[] = {
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  SLIDER 3,1,1,5,5\nEND\n", "dialog.rc:3: unknown dialog control SLIDER"},
      {"1 DIALOGEX 0, 0, 10, 10\nCOLOUR 3\nBEGIN\nEND\n", "dialog.rc:2: unknown dialog option COLOUR"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\",1,1,1\nEND\n", "dialog.rc:4:"},
      {"1 DIALOGEX 0, 0, 10, 99999\nBEGIN\nEND\n", "height is out of range"},
      {"1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\",1,1,1,1,1\n", "the dialog has no END"},
      {"1 DLGINIT\nBEGIN\n  14, 0x403, 9, 0, \"Mesh\\0\"\n  0\nEND\n", "DLGINIT data is malformed"},
      {"1 DLGINIT\nBEGIN\n  14, 0x403, 5, 0, \"Mesh\\0\"\nEND\n", "no closing zero"},
      {"1 DLGINIT\nBEGIN\n  70000\nEND\n", "must fit in 16 bits"},
  };
  for (const auto& c : cases) {
    auto compiled = CompileRc(c.rc);
    EXPECT_FALSE(compiled.ok) << c.rc;
    EXPECT_NE(compiled.error.find(c.message), std::string::npos) << c.rc << " -> " << compiled.error;
  }
}
