#pragma once
// Message boxes of the host. MessageBoxW prints the box into the transcript
// (title, icon, text, buttons, answer) and answers it, in this order of
// preference: a responder installed by a test; at a terminal, the typed
// button name (Enter for the default); in a script, the next line if it
// names one of the box's buttons (the line is then taken); else the default
// button.
#include <functional>
#include <string>
#include <vector>

#include "win32/wintypes.h"

namespace arxhost {

struct MessageBoxRequest {
  std::wstring caption;
  std::wstring text;
  UINT type = 0;
  std::vector<int> buttons;  // IDOK, IDCANCEL, ... in the box's order
  int defaultButton = IDOK;
};

struct MessageBoxRecord {
  MessageBoxRequest request;
  int answer = 0;
};

using MessageBoxResponder = std::function<int(const MessageBoxRequest&)>;

class MessageBoxes {
 public:
  static int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
  // Every box shown since the last ClearHistory, for tests.
  static const std::vector<MessageBoxRecord>& History();
  static void ClearHistory();
  static std::wstring ButtonName(int id);
};

// Installs a responder while it lives; a responder that returns an id the
// box does not have gets the default button.
class MessageBoxDriver {
 public:
  explicit MessageBoxDriver(MessageBoxResponder responder);
  ~MessageBoxDriver();
  MessageBoxDriver(const MessageBoxDriver&) = delete;
  MessageBoxDriver& operator=(const MessageBoxDriver&) = delete;

 private:
  MessageBoxResponder previous_;
};

}  // namespace arxhost
