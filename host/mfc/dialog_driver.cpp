#include "mfc/dialog_driver.h"

#include <iostream>

#include "mfc/dialog_lines.h"
#include "win32/strconv.h"

namespace arxhost {
namespace {

std::shared_ptr<DialogDriver>& Installed() {
  static std::shared_ptr<DialogDriver> driver;
  return driver;
}

std::string Named(int id) { return "control " + std::to_string(id); }

}  // namespace

std::wstring ModalDialog::Caption() const {
  const Window* w = FindWindowObject(dialog_);
  return w ? w->text : std::wstring();
}

std::vector<const Window*> ModalDialog::Controls() const {
  std::vector<const Window*> out;
  if (const Window* w = FindWindowObject(dialog_))
    for (HWND child : w->children)
      if (const Window* c = FindWindowObject(child)) out.push_back(c);
  return out;
}

const Window* ModalDialog::Control(int id) const { return FindWindowObject(::GetDlgItem(dialog_, id)); }

bool ModalDialog::IsEnabled(int id) const {
  const Window* c = Control(id);
  return c && !(c->style & WS_DISABLED);
}

bool ModalDialog::IsChecked(int id) const {
  const Window* c = Control(id);
  return c && c->check == BST_CHECKED;
}

int ModalDialog::Selection(int id) const {
  const Window* c = Control(id);
  return c ? c->selection : -1;
}

std::vector<std::wstring> ModalDialog::Items(int id) const {
  const Window* c = Control(id);
  return c ? c->items : std::vector<std::wstring>();
}

std::wstring ModalDialog::Text(int id) const {
  const Window* c = Control(id);
  return c ? c->text : std::wstring();
}

std::string ModalDialog::Check(int id, const Window*& control) const {
  if (Ended()) return "The dialog has closed.";
  control = Control(id);
  if (!control) return "The dialog has no " + Named(id) + ".";
  if (control->style & WS_DISABLED) return "The " + Named(id) + " is disabled.";
  if (!(control->style & WS_VISIBLE)) return "The " + Named(id) + " is hidden.";
  return {};
}

std::string ModalDialog::Click(int id) {
  const Window* control = nullptr;
  if (auto why = Check(id, control); !why.empty()) return why;
  if (!IsButton(control->kind))
    return "The " + Named(id) + " is a " + KindName(control->kind) + ", which takes no clicks.";
  ClickControl(control->handle);
  return {};
}

std::string ModalDialog::Select(int id, int index) {
  const Window* control = nullptr;
  if (auto why = Check(id, control); !why.empty()) return why;
  if (control->kind != ControlKind::ComboBox && control->kind != ControlKind::ListBox)
    return "The " + Named(id) + " is a " + KindName(control->kind) + ", not a list.";
  if (index < 0 || index >= static_cast<int>(control->items.size()))
    return "The list " + std::to_string(id) + " has no item " + std::to_string(index) + " (it has " +
           std::to_string(control->items.size()) + ", numbered from 0).";
  SelectItem(control->handle, index);
  return {};
}

std::string ModalDialog::Escape() {
  if (Ended()) return "The dialog has closed.";
  // The dialog manager turns Escape into the Cancel command.
  ::SendMessageW(dialog_, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(::GetDlgItem(dialog_, IDCANCEL)));
  return {};
}

std::string ModalDialog::CloseBox() {
  if (Ended()) return "The dialog has closed.";
  const Window* w = FindWindowObject(dialog_);
  if (!w || !(w->style & WS_SYSMENU)) return "The dialog has no close box.";
  ::SendMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  return {};
}

void SetDialogDriver(std::shared_ptr<DialogDriver> driver) { Installed() = std::move(driver); }

std::shared_ptr<DialogDriver> GetDialogDriver() {
  static const std::shared_ptr<DialogDriver> host = std::make_shared<InputDialogDriver>();
  return Installed() ? Installed() : host;
}

ScopedDialogDriver::ScopedDialogDriver(std::shared_ptr<DialogDriver> driver) : previous_(GetDialogDriver()) {
  SetDialogDriver(std::move(driver));
}

ScopedDialogDriver::ScopedDialogDriver(std::function<void(ModalDialog&)> answer)
    : ScopedDialogDriver(std::make_shared<TestDialogDriver>(std::move(answer))) {}

ScopedDialogDriver::~ScopedDialogDriver() { SetDialogDriver(std::move(previous_)); }

}  // namespace arxhost
