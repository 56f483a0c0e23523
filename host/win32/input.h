#pragma once
// The one source of answers: commands at the command prompt, answers to
// prompts, message boxes, file dialogs and modal dialogs all read their lines
// from the source on top of the input stack. arxhost puts a script or the
// terminal at the bottom; acedCommand and test drivers push their own lines
// over it for as long as they run.
#include <deque>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next line without its line end; nullopt when the source has ended.
  virtual std::optional<std::wstring> ReadLine() = 0;
  // The next line without taking it. A terminal cannot look ahead and
  // answers nullopt.
  virtual std::optional<std::wstring> PeekLine() = 0;
  // True when a person types the lines: prompts are then shown and answers
  // are not echoed into the transcript.
  virtual bool Interactive() const { return false; }
};

// A fixed list of lines (test drivers, the arguments of acedCommand).
class LineInput : public InputSource {
 public:
  LineInput() = default;
  explicit LineInput(std::vector<std::wstring> lines) : lines_(lines.begin(), lines.end()) {}
  void Add(std::wstring line) { lines_.push_back(std::move(line)); }
  bool Empty() const { return lines_.empty(); }
  std::optional<std::wstring> ReadLine() override;
  std::optional<std::wstring> PeekLine() override;

 private:
  std::deque<std::wstring> lines_;
};

// Lines of a script file or of standard input, in UTF-8. Lines whose first
// non-blank character is ';' are comments and are skipped; a trailing '\r'
// is dropped.
class StreamInput : public InputSource {
 public:
  StreamInput(std::istream& in, bool interactive) : in_(in), interactive_(interactive) {}
  std::optional<std::wstring> ReadLine() override;
  std::optional<std::wstring> PeekLine() override;
  bool Interactive() const override { return interactive_; }

 private:
  std::optional<std::wstring> Fetch();
  std::istream& in_;
  bool interactive_;
  std::optional<std::wstring> peeked_;
  bool peekedValid_ = false;
};

// Lines of its own first, then those of another source: what follows a
// command's name on a script line answers its first prompts, and the script
// goes on answering the rest.
class PrefixedInput : public InputSource {
 public:
  PrefixedInput(std::vector<std::wstring> lines, InputSource* then) : first_(std::move(lines)), then_(then) {}
  std::optional<std::wstring> ReadLine() override;
  std::optional<std::wstring> PeekLine() override;
  bool Interactive() const override { return first_.Empty() && then_ && then_->Interactive(); }

 private:
  LineInput first_;
  InputSource* then_;
};

class Input {
 public:
  // The source on top of the stack, or null when none is installed.
  static InputSource* Current();
  // Shows the prompt, reads one line from the current source and, unless a
  // person typed it, echoes it after the prompt. nullopt when the source has
  // ended (the prompt is then cancelled, and "*Cancel*" is shown).
  static std::optional<std::wstring> Prompt(std::wstring_view prompt);
  // Reads a line without any prompt or echo.
  static std::optional<std::wstring> ReadLine();
  static std::optional<std::wstring> PeekLine();
  static bool Interactive();
};

// Puts a source on top of the input stack while it lives.
class InputScope {
 public:
  explicit InputScope(InputSource& source);
  ~InputScope();
  InputScope(const InputScope&) = delete;
  InputScope& operator=(const InputScope&) = delete;

 private:
  InputSource* source_;
};

// Lines that answer what is asked next, on top of the input stack while the
// object lives; Replace puts new lines in place of those left.
class ScriptedLines {
 public:
  ScriptedLines() { Replace({}); }
  void Replace(std::vector<std::wstring> lines);

 private:
  std::unique_ptr<InputScope> scope_;  // released before the lines it names
  std::unique_ptr<LineInput> lines_;
};

}  // namespace arxhost
