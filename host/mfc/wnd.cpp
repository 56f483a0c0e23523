#include "mfc/wnd.h"

#include <memory>
#include <unordered_map>

namespace {

std::unordered_map<HWND, CWnd*>& Permanent() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& Temporary() {
  static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
  return map;
}

// Temporary wrappers of windows that are gone.
void SweepTemporaries() {
  std::erase_if(Temporary(), [](const auto& entry) { return !::IsWindow(entry.first); });
}

}  // namespace

const arxhost::MessageMap* CCmdTarget::GetThisMessageMap() {
  static const arxhost::MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
  static const arxhost::MessageMap map = {nullptr, entries};
  return &map;
}

const arxhost::MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT id, int code) {
  for (const arxhost::MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
    for (const arxhost::MessageMapEntry* e = map->entries; e->handler; ++e) {
      if (e->message == WM_COMMAND && e->code == static_cast<UINT>(code) && id >= e->firstId && id <= e->lastId) {
        (this->*(e->handler))();
        return TRUE;
      }
    }
  }
  return FALSE;
}

CWnd::~CWnd() { Detach(); }

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return nullptr;
  if (auto it = Permanent().find(hWnd); it != Permanent().end()) return it->second;
  SweepTemporaries();
  auto& slot = Temporary()[hWnd];
  if (!slot) {
    slot = std::make_unique<CWnd>();
    slot->m_hWnd = hWnd;
  }
  return slot.get();
}

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd || m_hWnd) return FALSE;
  m_hWnd = hWnd;
  Permanent()[hWnd] = this;
  Temporary().erase(hWnd);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) {
    auto it = Permanent().find(h);
    if (it != Permanent().end() && it->second == this) Permanent().erase(it);
  }
  m_hWnd = nullptr;
  return h;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

void CWnd::GetWindowText(CString& text) const {
  int length = ::GetWindowTextLengthW(m_hWnd);
  wchar_t* buffer = text.GetBufferSetLength(length);
  ::GetWindowTextW(m_hWnd, buffer, length + 1);
  text.ReleaseBuffer(length);
}

BOOL CWnd::DestroyWindow() {
  HWND h = Detach();
  BOOL done = ::DestroyWindow(h);
  SweepTemporaries();
  return done;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
  return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}
