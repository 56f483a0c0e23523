#pragma once
// Dialogs answered by lines, as a script or a user at a terminal types
// them: "click ID", "select ID INDEX", "ok", "cancel". At a terminal the
// dialog is drawn as text before each line is read.
#include <functional>
#include <optional>
#include <string>

#include "mfc/dialog_driver.h"

namespace arxhost {

// The dialog as text: its caption, then each control in template order
// with its id, kind and state; disabled controls are marked.
std::string RenderDialog(const ModalDialog& dialog);

class LineDialogDriver : public DialogDriver {
 public:
  // readLine gives the next line, or nothing at the end of the input;
  // print shows what the driver says (UTF-8, lines end with '\n').
  LineDialogDriver(std::function<std::optional<std::string>()> readLine, std::function<void(const std::string&)> print,
                   bool drawDialog);
  // At the end of the input the dialog is cancelled, as a user would.
  void Answer(ModalDialog& dialog) override;

 private:
  std::function<std::optional<std::string>()> readLine_;
  std::function<void(const std::string&)> print_;
  bool draw_;
};

// The host's own driver: the lines come from the current input source (a
// script or the terminal) and what it says goes to the transcript. At a
// terminal the dialog is drawn before each answer; in a script the
// transcript names the dialog and echoes each answer.
class InputDialogDriver : public DialogDriver {
 public:
  void Answer(ModalDialog& dialog) override;
};

// Carries out one answer line on the dialog: an empty string when done,
// else what is wrong with the line.
std::string ApplyDialogAnswer(ModalDialog& dialog, const std::string& line);

}  // namespace arxhost
