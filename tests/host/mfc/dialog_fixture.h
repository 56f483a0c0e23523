#pragma once
// A module of the test's own with one dialog: two radio groups, a
// drop-down list filled from initialisation data, OK and Cancel. The
// dialog's resources are made current while the fixture lives.
#include <gtest/gtest.h>

#include <vector>

#include "mfc/dialog.h"
#include "mfc/afxext.h"
#include "win32/dialog_template.h"
#include "win32/modules.h"
#include "win32/resimage.h"

namespace testdlg {

constexpr int kTemplate = 300;
constexpr int kFirstA = 10, kSecondA = 11, kFirstB = 12, kSecondB = 13, kList = 14, kLabel = -1;

inline arxhost::DialogItemTemplate Item(int id, const wchar_t* cls, const wchar_t* text, DWORD style) {
  arxhost::DialogItemTemplate item;
  item.id = id;
  item.className = cls;
  item.text = text;
  item.style = WS_CHILD | WS_VISIBLE | style;
  item.cx = 50;
  item.cy = 10;
  return item;
}

inline arxhost::DialogTemplate ProbeTemplate() {
  arxhost::DialogTemplate d;
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  d.cx = 200;
  d.cy = 100;
  d.caption = L"Probe Options";
  d.pointSize = 8;
  d.typeface = L"MS Sans Serif";
  d.items = {
      Item(kFirstA, L"Button", L"First A", BS_AUTORADIOBUTTON | WS_GROUP),
      Item(kSecondA, L"Button", L"Second A", BS_AUTORADIOBUTTON),
      Item(kFirstB, L"Button", L"First B", BS_AUTORADIOBUTTON | WS_GROUP),
      Item(kSecondB, L"Button", L"Second B", BS_AUTORADIOBUTTON),
      Item(kList, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
      Item(IDOK, L"Button", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP),
      Item(IDCANCEL, L"Button", L"&Cancel", WS_TABSTOP),
      Item(kLabel, L"Static", L"Pick one of each", SS_LEFT | WS_GROUP),
  };
  // One control a row, but OK and Cancel side by side.
  for (size_t i = 0; i < d.items.size(); ++i) d.items[i].y = static_cast<short>(12 * i);
  d.items[6].y = d.items[5].y + 2;
  d.items[6].x = 60;
  return d;
}

inline std::vector<arxhost::DialogInitEntry> ProbeItems(std::vector<const char*> texts, int control = kList) {
  std::vector<arxhost::DialogInitEntry> entries;
  for (const char* t : texts) {
    arxhost::DialogInitEntry e;
    e.controlId = control;
    e.message = arxhost::kDlgInitComboAddString;
    e.data.assign(t, t + std::char_traits<char>::length(t) + 1);
    entries.push_back(e);
  }
  return entries;
}

class ResourceModule {
 public:
  ResourceModule(const arxhost::DialogTemplate& dialog, const std::vector<arxhost::DialogInitEntry>& init) {
    std::vector<arxhost::ResourceBlob> blobs;
    blobs.push_back({arxhost::kResourceTypeDialog, kTemplate, 0x409, arxhost::WriteDialogTemplate(dialog)});
    if (!init.empty())
      blobs.push_back({arxhost::kResourceTypeDlgInit, kTemplate, 0x409, arxhost::WriteDialogInit(init)});
    Use(arxhost::BuildResourceImage(blobs));
  }
  explicit ResourceModule(std::vector<arxhost::ResourceBlob> blobs) { Use(arxhost::BuildResourceImage(blobs)); }
  ~ResourceModule() {
    AfxSetResourceHandle(previous_);
    arxhost::Modules::Unregister(instance_);
  }

 private:
  void Use(std::vector<unsigned char> image) {
    image_ = std::move(image);
    arxhost::ModuleImage module;
    module.path = L"C:\\probe\\probe.arx";
    module.resources = image_;
    std::string error;
    instance_ = arxhost::Modules::Register(module, &error);
    EXPECT_TRUE(error.empty()) << error;
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(instance_);
  }
  std::vector<unsigned char> image_;
  HINSTANCE instance_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

// A dialog with the usual shape: three fields exchanged with the controls,
// and a handler that counts clicks on the first radio button.
class CProbeDlg : public CDialog {
 public:
  CProbeDlg() : CDialog(kTemplate) {}
  int m_a = 0, m_list = 0, m_b = 0;
  int clicks = 0;
  int initResult = -2;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Radio(pDX, kFirstA, m_a);
    DDX_CBIndex(pDX, kList, m_list);
    DDX_Radio(pDX, kFirstB, m_b);
  }
  BOOL OnInitDialog() override {
    initResult = CDialog::OnInitDialog();
    return TRUE;
  }
  void OnFirstA() { ++clicks; }
  DECLARE_MESSAGE_MAP()
};

}  // namespace testdlg
