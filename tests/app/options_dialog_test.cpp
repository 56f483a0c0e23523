#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TolvaneOptionsDlg.h"
#include "mfc/dialog_driver.h"
#include "mfc/afxext.h"
#include "win32/modules.h"
#include "win32/registry_store.h"

extern "C" const unsigned char arxhost_resource_image[];
extern "C" const unsigned long arxhost_resource_image_size;

namespace fs = std::filesystem;
using arxhost::ModalDialog;
using arxhost::ScopedDialogDriver;

namespace {

const char kSection[] = "[HKEY_CURRENT_USER\\Software\\Varnel\\Tolvane Reader for AutoCAD]";

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The plug-in's resources current, and a registry file of the test's own.
class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_ = folder_ / "registry.reg";
    arxhost::registry::SetFileOverride(registry_);

    arxhost::ModuleImage image;
    image.path = L"C:\\Tolvane\\Tolvane.arx";
    image.resources = std::span(arxhost_resource_image, arxhost_resource_image_size);
    std::string error;
    module_ = arxhost::Modules::Register(image, &error);
    ASSERT_TRUE(error.empty()) << error;
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_);
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    arxhost::Modules::Unregister(module_);
    arxhost::registry::SetFileOverride(std::nullopt);
  }

  void Store(const std::string& values) {
    std::ofstream(registry_, std::ios::binary) << "REGEDIT4\r\n\r\n" << kSection << "\r\n" << values;
  }

  // Runs the dialog with the given answer; the dialog's result.
  INT_PTR Run(CTolvaneOptionsDlg& dlg, std::function<void(ModalDialog&)> answer) {
    ScopedDialogDriver driver(std::move(answer));
    return dlg.DoModal();
  }

  TempFolder folder_;
  fs::path registry_;
  HINSTANCE module_ = nullptr, previous_ = nullptr;
};

struct Enabled {
  bool edgeCurves, surfaceMesh, meshType;
  friend bool operator==(const Enabled&, const Enabled&) = default;
};

Enabled EnabledOf(const ModalDialog& d) {
  return {d.IsEnabled(IDC_EDGE_CURVES), d.IsEnabled(IDC_SURFACE_MESH), d.IsEnabled(IDC_MESH_TYPE)};
}

}  // namespace

TEST_F(OptionsDialog, TheTemplateHoldsTheControlsOfTheDesign) {
  CTolvaneOptionsDlg dlg(nullptr);
  EXPECT_EQ(dlg.m_fileType, -1);
  EXPECT_EQ(dlg.m_3dType, -1);
  EXPECT_EQ(dlg.m_meshType, -1);
  using K = arxhost::ControlKind;
  struct Expected {
    int id;
    K kind;
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
  } expected[] = {
      {200, K::AutoRadioButton, L"2D Drawing", 73, 7, 53, 10, BS_AUTORADIOBUTTON | WS_GROUP},
      {201, K::AutoRadioButton, L"3D solid model", 146, 7, 62, 10, BS_AUTORADIOBUTTON},
      {202, K::AutoRadioButton, L"Edge curves", 73, 23, 56, 10, BS_AUTORADIOBUTTON | WS_GROUP},
      {203, K::AutoRadioButton, L"Surface mesh", 73, 37, 59, 10, BS_AUTORADIOBUTTON},
      {204, K::ComboBox, L"", 136, 35, 71, 82, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
      {IDOK, K::DefPushButton, L"&OK", 52, 103, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {IDCANCEL, K::PushButton, L"&Cancel", 110, 103, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
      {-1, K::Static, L"Type of IGES file", 7, 7, 54, 8, SS_LEFT | WS_GROUP},
      {-1, K::Static, L"", 7, 94, 200, 1, SS_ETCHEDHORZ},
      {-1, K::Static,
       L"If you are not sure about the type of IGES file, select '3D solid model'. An attempt will be made to read "
       L"2D data from the IGES file. However, color and layer information may be ignored. ",
       7, 59, 200, 27, SS_LEFT | SS_SUNKEN | WS_GROUP},
      {-1, K::Static, L"Import 3D model as", 7, 23, 62, 8, SS_LEFT | WS_GROUP},
  };
  EXPECT_EQ(Run(dlg,
                [&](ModalDialog& d) {
                  const arxhost::Window* frame = arxhost::FindWindowObject(d.Handle());
                  ASSERT_NE(frame, nullptr);
                  EXPECT_EQ(frame->text, L"Tolvane Reader for AutoCAD Options");
                  EXPECT_EQ(frame->style,
                            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
                  EXPECT_EQ((std::vector<short>{frame->x, frame->y, frame->cx, frame->cy}),
                            (std::vector<short>{0, 0, 214, 124}));
                  auto controls = d.Controls();
                  ASSERT_EQ(controls.size(), std::size(expected));
                  for (size_t i = 0; i < controls.size(); ++i) {
                    const auto& c = *controls[i];
                    const auto& e = expected[i];
                    EXPECT_EQ(c.id, e.id) << i;
                    EXPECT_EQ(c.kind, e.kind) << i;
                    if (e.kind != K::ComboBox) {
                      EXPECT_EQ(c.text, e.text) << i;
                    }
                    EXPECT_EQ((std::vector<short>{c.x, c.y, c.cx, c.cy}), (std::vector<short>{e.x, e.y, e.cx, e.cy}))
                        << i;
                    EXPECT_EQ(c.style & ~static_cast<DWORD>(WS_DISABLED),
                              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | e.style))
                        << i;
                  }
                  EXPECT_EQ(d.Items(IDC_MESH_TYPE),
                            (std::vector<std::wstring>{L"Mesh", L"3D Faces", L"Lines", L"Points"}));
                  d.Cancel();
                }),
            IDCANCEL);
}

TEST_F(OptionsDialog, WithNothingStoredItOpensOnA2dDrawingAndStoresNothingOnCancel) {
  CTolvaneOptionsDlg dlg(nullptr);
  EXPECT_EQ(Run(dlg,
                [](ModalDialog& d) {
                  EXPECT_TRUE(d.IsChecked(IDC_2D_DRAWING));
                  EXPECT_FALSE(d.IsChecked(IDC_3D_SOLID_MODEL));
                  EXPECT_TRUE(d.IsChecked(IDC_EDGE_CURVES));
                  EXPECT_FALSE(d.IsChecked(IDC_SURFACE_MESH));
                  EXPECT_EQ(d.Selection(IDC_MESH_TYPE), 0);
                  EXPECT_EQ(d.Text(IDC_MESH_TYPE), L"Mesh");
                  EXPECT_TRUE(d.IsEnabled(IDC_2D_DRAWING));
                  EXPECT_TRUE(d.IsEnabled(IDC_3D_SOLID_MODEL));
                  EXPECT_EQ(EnabledOf(d), (Enabled{false, false, false}));
                  d.Click(IDC_3D_SOLID_MODEL);
                  d.Cancel();
                }),
            IDCANCEL);
  EXPECT_FALSE(fs::exists(registry_)) << "reading stores nothing, and neither does Cancel";
}

TEST_F(OptionsDialog, ClicksEnableWhatTheChoicesNeed) {
  struct Case {
    std::vector<int> clicks;
    Enabled enabled;
  } cases[] = {
      {{}, {false, false, false}},
      {{IDC_SURFACE_MESH}, {false, false, false}},  // disabled: the click is refused
      {{IDC_3D_SOLID_MODEL}, {true, true, false}},
      {{IDC_3D_SOLID_MODEL, IDC_SURFACE_MESH}, {true, true, true}},
      {{IDC_3D_SOLID_MODEL, IDC_SURFACE_MESH, IDC_EDGE_CURVES}, {true, true, false}},
      {{IDC_3D_SOLID_MODEL, IDC_SURFACE_MESH, IDC_2D_DRAWING}, {false, false, false}},
      {{IDC_3D_SOLID_MODEL, IDC_SURFACE_MESH, IDC_2D_DRAWING, IDC_3D_SOLID_MODEL}, {true, true, true}},
  };
  for (const auto& c : cases) {
    CTolvaneOptionsDlg dlg(nullptr);
    Run(dlg, [&](ModalDialog& d) {
      for (int id : c.clicks) d.Click(id);
      EXPECT_EQ(EnabledOf(d), c.enabled) << "after " << c.clicks.size() << " clicks";
      d.Cancel();
    });
  }
}

TEST_F(OptionsDialog, OkStoresTheThreeValuesInOrderEvenWhenTheirControlsAreDisabled) {
  CTolvaneOptionsDlg dlg(nullptr);
  EXPECT_EQ(Run(dlg,
                [](ModalDialog& d) {
                  EXPECT_EQ(d.Click(IDC_3D_SOLID_MODEL), "");
                  EXPECT_EQ(d.Click(IDC_SURFACE_MESH), "");
                  EXPECT_EQ(d.Select(IDC_MESH_TYPE, 2), "");
                  EXPECT_EQ(d.Click(IDC_2D_DRAWING), "");
                  d.Ok();
                }),
            IDOK);
  EXPECT_EQ(dlg.m_fileType, 0);
  EXPECT_EQ(dlg.m_3dType, 1);
  EXPECT_EQ(dlg.m_meshType, 2);
  EXPECT_EQ(ReadText(registry_), std::string("REGEDIT4\r\n\r\n"
                                             "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                             "[HKEY_CURRENT_USER\\Software\\Varnel]\r\n\r\n") +
                                     kSection +
                                     "\r\n"
                                     "\"File Type\"=dword:00000000\r\n"
                                     "\"3D Type\"=dword:00000001\r\n"
                                     "\"Mesh Type\"=dword:00000002\r\n\r\n");

  // The next dialog opens on what was stored.
  CTolvaneOptionsDlg next(nullptr);
  Run(next, [](ModalDialog& d) {
    EXPECT_TRUE(d.IsChecked(IDC_2D_DRAWING));
    EXPECT_TRUE(d.IsChecked(IDC_SURFACE_MESH));
    EXPECT_EQ(d.Selection(IDC_MESH_TYPE), 2);
    EXPECT_EQ(EnabledOf(d), (Enabled{false, false, false}));
    d.Cancel();
  });
}

TEST_F(OptionsDialog, EscapeTheCloseBoxAndCancelLeaveTheRegistryAsItWas) {
  Store("\"File Type\"=dword:00000001\r\n\"3D Type\"=dword:00000001\r\n\"Mesh Type\"=dword:00000003\r\n");
  const std::string before = ReadText(registry_);
  struct Case {
    const char* name;
    std::string (ModalDialog::*close)();
  } cases[] = {{"Cancel", &ModalDialog::Cancel}, {"Escape", &ModalDialog::Escape}, {"close box", &ModalDialog::CloseBox}};
  for (const auto& c : cases) {
    CTolvaneOptionsDlg dlg(nullptr);
    EXPECT_EQ(Run(dlg,
                  [&](ModalDialog& d) {
                    EXPECT_TRUE(d.IsChecked(IDC_3D_SOLID_MODEL));
                    EXPECT_TRUE(d.IsChecked(IDC_SURFACE_MESH));
                    EXPECT_EQ(d.Text(IDC_MESH_TYPE), L"Points");
                    EXPECT_EQ(EnabledOf(d), (Enabled{true, true, true}));
                    d.Click(IDC_2D_DRAWING);
                    EXPECT_EQ((d.*c.close)(), "") << c.name;
                  }),
              IDCANCEL)
        << c.name;
    EXPECT_EQ(ReadText(registry_), before) << c.name;
  }
}

TEST_F(OptionsDialog, StoredValuesOutOfRangeSelectNothingAndOkStoresMinusOne) {
  struct Case {
    const char* stored;
    bool drawing, solid, edge, surface;
    int selection;
    const char* written;
  } cases[] = {
      {"\"File Type\"=dword:00000005\r\n", false, false, true, false, 0,
       "\"File Type\"=dword:ffffffff\r\n\"3D Type\"=dword:00000000\r\n\"Mesh Type\"=dword:00000000\r\n"},
      {"\"3D Type\"=dword:00000002\r\n\"Mesh Type\"=dword:00000009\r\n", true, false, false, false, -1,
       "\"3D Type\"=dword:ffffffff\r\n\"Mesh Type\"=dword:ffffffff\r\n\"File Type\"=dword:00000000\r\n"},
      {"\"File Type\"=\"1\"\r\n\"Mesh Type\"=dword:ffffffff\r\n", true, false, true, false, -1,
       "\"File Type\"=dword:00000000\r\n\"Mesh Type\"=dword:ffffffff\r\n\"3D Type\"=dword:00000000\r\n"},
  };
  for (const auto& c : cases) {
    Store(c.stored);
    CTolvaneOptionsDlg dlg(nullptr);
    EXPECT_EQ(Run(dlg,
                  [&](ModalDialog& d) {
                    EXPECT_EQ(d.IsChecked(IDC_2D_DRAWING), c.drawing) << c.stored;
                    EXPECT_EQ(d.IsChecked(IDC_3D_SOLID_MODEL), c.solid) << c.stored;
                    EXPECT_EQ(d.IsChecked(IDC_EDGE_CURVES), c.edge) << c.stored;
                    EXPECT_EQ(d.IsChecked(IDC_SURFACE_MESH), c.surface) << c.stored;
                    EXPECT_EQ(d.Selection(IDC_MESH_TYPE), c.selection) << c.stored;
                    EXPECT_EQ(EnabledOf(d), (Enabled{false, false, false})) << c.stored;
                    d.Ok();
                  }),
              IDOK);
    EXPECT_EQ(ReadText(registry_), std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                               "[HKEY_CURRENT_USER\\Software\\Varnel]\r\n\r\n") +
                                       kSection + "\r\n" + c.written + "\r\n")
        << c.stored;
  }
}

TEST_F(OptionsDialog, AMalformedRegistryFileIsKeptAsideAndTheDefaultsShown) {
  std::ofstream(registry_, std::ios::binary) << "REGEDIT4\r\n" << kSection << "\r\n\"File Type\"=dword:zz\r\n";
  const std::string broken = ReadText(registry_);
  CTolvaneOptionsDlg dlg(nullptr);
  EXPECT_EQ(Run(dlg,
                [](ModalDialog& d) {
                  EXPECT_TRUE(d.IsChecked(IDC_2D_DRAWING));
                  d.Click(IDC_3D_SOLID_MODEL);
                  d.Ok();
                }),
            IDOK);
  EXPECT_EQ(ReadText(folder_ / "registry.reg.malformed"), broken);
  EXPECT_NE(ReadText(registry_).find("\"File Type\"=dword:00000001"), std::string::npos);
}
