#pragma once
// Who answers a modal dialog. A dialog, once initialised, hands itself to
// the installed driver as a ModalDialog; the driver reads its controls and
// acts on them (click, select, Escape, the close box) until it has closed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/window.h"

namespace arxhost {

class ModalDialog {
 public:
  ModalDialog(HWND dialog, std::function<bool()> ended) : dialog_(dialog), ended_(std::move(ended)) {}

  HWND Handle() const { return dialog_; }
  bool Ended() const { return ended_(); }
  std::wstring Caption() const;
  // The controls in template order.
  std::vector<const Window*> Controls() const;
  // The control with that id; null when there is none.
  const Window* Control(int id) const;

  bool IsEnabled(int id) const;
  bool IsChecked(int id) const;
  int Selection(int id) const;  // -1: none, or no such list
  std::vector<std::wstring> Items(int id) const;
  std::wstring Text(int id) const;

  // What a user can do. Each gives an empty string when done, or else a
  // sentence that says why it cannot be done (no such control, disabled,
  // not a button, the dialog has closed).
  std::string Click(int id);
  std::string Select(int id, int index);
  std::string Escape();
  std::string CloseBox();
  std::string Ok() { return Click(IDOK); }
  std::string Cancel() { return Click(IDCANCEL); }

 private:
  std::string Check(int id, const Window*& control) const;

  HWND dialog_;
  std::function<bool()> ended_;
};

class DialogDriver {
 public:
  virtual ~DialogDriver() = default;
  // Answers the dialog. A driver that returns while the dialog is still
  // open has it cancelled.
  virtual void Answer(ModalDialog& dialog) = 0;
};

// The driver of this process; without one installed, the host's own
// (InputDialogDriver) answers from the current input source.
void SetDialogDriver(std::shared_ptr<DialogDriver> driver);
std::shared_ptr<DialogDriver> GetDialogDriver();

// A driver that runs a function of the test on each dialog.
class TestDialogDriver : public DialogDriver {
 public:
  explicit TestDialogDriver(std::function<void(ModalDialog&)> answer) : answer_(std::move(answer)) {}
  void Answer(ModalDialog& dialog) override { answer_(dialog); }

 private:
  std::function<void(ModalDialog&)> answer_;
};

// Installs a driver for the life of the object, then restores the previous.
class ScopedDialogDriver {
 public:
  explicit ScopedDialogDriver(std::shared_ptr<DialogDriver> driver);
  explicit ScopedDialogDriver(std::function<void(ModalDialog&)> answer);
  ~ScopedDialogDriver();
  ScopedDialogDriver(const ScopedDialogDriver&) = delete;
  ScopedDialogDriver& operator=(const ScopedDialogDriver&) = delete;

 private:
  std::shared_ptr<DialogDriver> previous_;
};

}  // namespace arxhost
