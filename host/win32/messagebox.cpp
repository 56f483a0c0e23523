#include "win32/messagebox.h"

#include <algorithm>
#include <cwctype>

#include "win32/input.h"
#include "win32/transcript.h"
#include "win32/winapi.h"

namespace arxhost {
namespace {

MessageBoxResponder& Responder() {
  static MessageBoxResponder responder;
  return responder;
}

std::vector<MessageBoxRecord>& HistoryStore() {
  static std::vector<MessageBoxRecord> history;
  return history;
}

std::vector<int> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

const wchar_t* IconName(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return L"error";
    case MB_ICONQUESTION: return L"question";
    case MB_ICONEXCLAMATION: return L"warning";
    case MB_ICONASTERISK: return L"information";
    default: return nullptr;
  }
}

std::wstring Lower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
  return out;
}

std::wstring Trimmed(std::wstring_view text) {
  auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  auto last = text.find_last_not_of(L" \t");
  return std::wstring(text.substr(first, last - first + 1));
}

// The button that a line names, or 0.
int ButtonNamed(const MessageBoxRequest& box, std::wstring_view line) {
  const std::wstring wanted = Lower(Trimmed(line));
  if (wanted.empty()) return 0;
  for (int id : box.buttons)
    if (Lower(MessageBoxes::ButtonName(id)) == wanted) return id;
  return 0;
}

bool Has(const MessageBoxRequest& box, int id) {
  return std::find(box.buttons.begin(), box.buttons.end(), id) != box.buttons.end();
}

int Answer(const MessageBoxRequest& box) {
  if (auto& responder = Responder()) {
    int id = responder(box);
    return Has(box, id) ? id : box.defaultButton;
  }
  if (Input::Interactive()) {
    for (;;) {
      Transcript::Write(L"Answer [" + MessageBoxes::ButtonName(box.defaultButton) + L"]: ");
      auto line = Input::ReadLine();
      if (!line || Trimmed(*line).empty()) return box.defaultButton;
      if (int id = ButtonNamed(box, *line)) return id;
    }
  }
  if (auto next = Input::PeekLine()) {
    if (int id = ButtonNamed(box, *next)) {
      Input::ReadLine();
      return id;
    }
  }
  return box.defaultButton;
}

}  // namespace

std::wstring MessageBoxes::ButtonName(int id) {
  switch (id) {
    case IDOK: return L"OK";
    case IDCANCEL: return L"Cancel";
    case IDABORT: return L"Abort";
    case IDRETRY: return L"Retry";
    case IDIGNORE: return L"Ignore";
    case IDYES: return L"Yes";
    case IDNO: return L"No";
    default: return L"?";
  }
}

int MessageBoxes::Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  MessageBoxRequest box;
  box.caption = caption;
  box.text = text;
  box.type = type;
  box.buttons = ButtonsOf(type);
  const size_t defaultIndex = (type & MB_DEFMASK) >> 8;
  box.defaultButton = box.buttons[defaultIndex < box.buttons.size() ? defaultIndex : 0];

  std::wstring head = L"--- Message box: " + caption;
  if (const wchar_t* icon = IconName(type)) head += std::wstring(L" (") + icon + L")";
  Transcript::WriteLine(head + L" ---");
  Transcript::WriteLine(text);
  std::wstring buttons;
  for (int id : box.buttons) buttons += (buttons.empty() ? L"" : L" ") + ButtonName(id);
  Transcript::WriteLine(L"--- Buttons: " + buttons + L" ---");
  const int answer = Answer(box);
  Transcript::WriteLine(L"--- Answer: " + ButtonName(answer) + L" ---");
  HistoryStore().push_back({box, answer});
  return answer;
}

const std::vector<MessageBoxRecord>& MessageBoxes::History() { return HistoryStore(); }
void MessageBoxes::ClearHistory() { HistoryStore().clear(); }

MessageBoxDriver::MessageBoxDriver(MessageBoxResponder responder) : previous_(std::move(Responder())) {
  Responder() = std::move(responder);
}

MessageBoxDriver::~MessageBoxDriver() { Responder() = std::move(previous_); }

}  // namespace arxhost

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  return arxhost::MessageBoxes::Show(owner, text ? text : L"", caption ? caption : L"Error", type);
}
