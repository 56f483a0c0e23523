#include "mfc/dialog_lines.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "win32/input.h"
#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost {
namespace {

constexpr const char* kUsage = "Answer with: click ID, select ID INDEX, ok or cancel.";

// "&OK" is shown as "OK": the ampersand only marks the access key.
std::string Label(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return ToUtf8(out);
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool Number(const std::string& word, int& out) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && end == word.data() + word.size();
}

std::string Lower(std::string s) {
  for (auto& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Long texts are wrapped so that the drawing stays readable.
void AppendWrapped(std::string& out, const std::string& text, const std::string& indent, size_t width) {
  std::istringstream in(text);
  std::string line;
  for (std::string word; in >> word;) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      out += indent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) out += indent + line + "\n";
}

}  // namespace

std::string RenderDialog(const ModalDialog& dialog) {
  const std::string caption = ToUtf8(dialog.Caption());
  std::string out = "+-- " + caption + " " + std::string(caption.size() < 57 ? 59 - caption.size() : 2, '-') + "\n";
  for (const Window* c : dialog.Controls()) {
    if (!(c->style & WS_VISIBLE)) continue;
    const bool disabled = c->style & WS_DISABLED;
    const std::string id = c->id == -1 ? "" : "[" + std::to_string(c->id) + "] ";
    std::string line = "| " + id;
    switch (c->kind) {
      case ControlKind::AutoRadioButton:
      case ControlKind::RadioButton:
        line += std::string(c->check == BST_CHECKED ? "(*) " : "( ) ") + Label(c->text);
        break;
      case ControlKind::AutoCheckBox:
      case ControlKind::CheckBox:
        line += std::string(c->check == BST_CHECKED ? "[x] " : c->check == BST_INDETERMINATE ? "[-] " : "[ ] ") +
                Label(c->text);
        break;
      case ControlKind::PushButton:
        line += "< " + Label(c->text) + " >";
        break;
      case ControlKind::DefPushButton:
        line += "<< " + Label(c->text) + " >>  (default)";
        break;
      case ControlKind::ComboBox:
      case ControlKind::ListBox: {
        line += "list: ";
        for (size_t i = 0; i < c->items.size(); ++i) {
          const bool selected = static_cast<int>(i) == c->selection;
          line += (i ? "  " : "") + std::to_string(i) + (selected ? "=>" : " ") + ToUtf8(c->items[i]);
          if (selected) line += "<=";
        }
        if (c->selection < 0) line += c->items.empty() ? "(empty, nothing selected)" : "  (nothing selected)";
        break;
      }
      case ControlKind::Static:
        if ((c->style & SS_TYPEMASK) == SS_ETCHEDHORZ) {
          out += "|" + std::string(62, '-') + "\n";
          continue;
        }
        if (c->text.size() > 60) {
          AppendWrapped(out, Label(c->text), "|   ", 58);
          continue;
        }
        line += Label(c->text);
        break;
      default:
        line += Label(c->text);
        break;
    }
    if (disabled) line += "  (disabled)";
    out += line + "\n";
  }
  out += "+" + std::string(63, '-') + "\n";
  out += std::string(kUsage) + "\n";
  return out;
}

std::string ApplyDialogAnswer(ModalDialog& dialog, const std::string& line) {
  auto words = Words(line);
  if (words.empty()) return {};
  const std::string verb = Lower(words[0]);
  int id = 0, index = 0;
  if (verb == "ok" && words.size() == 1) return dialog.Ok();
  if (verb == "cancel" && words.size() == 1) return dialog.Cancel();
  if (verb == "click" && words.size() == 2 && Number(words[1], id)) return dialog.Click(id);
  if (verb == "select" && words.size() == 3 && Number(words[1], id) && Number(words[2], index))
    return dialog.Select(id, index);
  return "\"" + line + "\" is not a dialog answer. " + kUsage;
}

LineDialogDriver::LineDialogDriver(std::function<std::optional<std::string>()> readLine,
                                   std::function<void(const std::string&)> print, bool drawDialog)
    : readLine_(std::move(readLine)), print_(std::move(print)), draw_(drawDialog) {}

void LineDialogDriver::Answer(ModalDialog& dialog) {
  while (!dialog.Ended()) {
    if (draw_) print_(RenderDialog(dialog));
    auto line = readLine_();
    if (!line) {
      print_("The input has ended: the dialog \"" + ToUtf8(dialog.Caption()) + "\" is cancelled.\n");
      dialog.Cancel();
      return;
    }
    if (std::string why = ApplyDialogAnswer(dialog, *line); !why.empty()) print_(why + "\n");
  }
}

void InputDialogDriver::Answer(ModalDialog& dialog) {
  const bool interactive = Input::Interactive();
  if (!interactive) Transcript::WriteLine(L"Dialog: " + dialog.Caption());
  LineDialogDriver lines(
      []() -> std::optional<std::string> {
        auto line = Input::Prompt(L"Dialog answer: ");
        if (!line) return std::nullopt;
        return ToUtf8(*line);
      },
      [](const std::string& text) { Transcript::Write(FromUtf8(text)); }, interactive);
  lines.Answer(dialog);
}

}  // namespace arxhost
