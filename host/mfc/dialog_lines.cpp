#include "mfc/dialog_lines.h"

#include <algorithm>
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

namespace {

constexpr size_t kWidth = 64;  // of the frame, in characters

// One control as text: its id, state and text; disabled ones marked.
std::string Describe(const Window& c) {
  std::string out = c.id == -1 ? "" : "[" + std::to_string(c.id) + "] ";
  switch (c.kind) {
    case ControlKind::AutoRadioButton:
    case ControlKind::RadioButton:
      out += std::string(c.check == BST_CHECKED ? "(*) " : "( ) ") + Label(c.text);
      break;
    case ControlKind::AutoCheckBox:
    case ControlKind::CheckBox:
      out += std::string(c.check == BST_CHECKED ? "[x] " : c.check == BST_INDETERMINATE ? "[-] " : "[ ] ") +
             Label(c.text);
      break;
    case ControlKind::PushButton:
      out += "< " + Label(c.text) + " >";
      break;
    case ControlKind::DefPushButton:
      out += "<< " + Label(c.text) + " >>  (default)";
      break;
    case ControlKind::ComboBox:
    case ControlKind::ListBox: {
      out += "list: ";
      for (size_t i = 0; i < c.items.size(); ++i) {
        const bool selected = static_cast<int>(i) == c.selection;
        out += (i ? "  " : "") + std::to_string(i) + (selected ? "=>" : " ") + ToUtf8(c.items[i]);
        if (selected) out += "<=";
      }
      if (c.selection < 0) out += c.items.empty() ? "(empty, nothing selected)" : "  (nothing selected)";
      break;
    }
    default:
      out += Label(c.text);
      break;
  }
  if (c.style & WS_DISABLED) out += "  (disabled)";
  return out;
}

bool IsRule(const Window& c) { return c.kind == ControlKind::Static && (c.style & SS_TYPEMASK) == SS_ETCHEDHORZ; }

// Controls in reading order: rows of controls whose tops lie within half a
// line of each other, each row from left to right.
std::vector<std::vector<const Window*>> Rows(std::vector<const Window*> controls) {
  std::stable_sort(controls.begin(), controls.end(), [](const Window* a, const Window* b) { return a->y < b->y; });
  std::vector<std::vector<const Window*>> rows;
  for (const Window* c : controls) {
    if (rows.empty() || c->y - rows.back().front()->y > 4) rows.emplace_back();
    rows.back().push_back(c);
  }
  for (auto& row : rows)
    std::stable_sort(row.begin(), row.end(), [](const Window* a, const Window* b) { return a->x < b->x; });
  return rows;
}

}  // namespace

std::string RenderDialog(const ModalDialog& dialog) {
  const std::string caption = ToUtf8(dialog.Caption());
  std::string out = "+-- " + caption + " " +
                    std::string(caption.size() + 7 < kWidth ? kWidth - 5 - caption.size() : 2, '-') + "\n";
  std::vector<const Window*> visible;
  for (const Window* c : dialog.Controls())
    if (c->style & WS_VISIBLE) visible.push_back(c);
  for (const auto& row : Rows(visible)) {
    std::vector<std::string> pieces;
    for (const Window* c : row) {
      if (IsRule(*c)) {
        out += "|" + std::string(kWidth - 1, '-') + "\n";
      } else if (std::string piece = Describe(*c); piece.size() > kWidth - 4 && c->kind == ControlKind::Static) {
        AppendWrapped(out, piece, "|   ", kWidth - 6);
      } else {
        pieces.push_back(std::move(piece));
      }
    }
    std::string joined;
    for (const auto& p : pieces) joined += (joined.empty() ? "" : "   ") + p;
    // A row too wide for a terminal goes one control a line.
    if (joined.size() + 2 <= 80) {
      if (!joined.empty()) out += "| " + joined + "\n";
    } else {
      for (const auto& p : pieces) out += "| " + p + "\n";
    }
  }
  out += "+" + std::string(kWidth - 1, '-') + "\n";
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
