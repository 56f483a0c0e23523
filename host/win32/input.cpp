#include "win32/input.h"

#include <algorithm>

#include "win32/strconv.h"
#include "win32/transcript.h"

namespace arxhost {
namespace {

std::vector<InputSource*>& Stack() {
  static std::vector<InputSource*> stack;
  return stack;
}

bool IsComment(const std::wstring& line) {
  auto first = line.find_first_not_of(L" \t");
  return first != std::wstring::npos && line[first] == L';';
}

}  // namespace

std::optional<std::wstring> LineInput::ReadLine() {
  if (lines_.empty()) return std::nullopt;
  std::wstring line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

std::optional<std::wstring> LineInput::PeekLine() {
  if (lines_.empty()) return std::nullopt;
  return lines_.front();
}

std::optional<std::wstring> StreamInput::Fetch() {
  std::string raw;
  while (std::getline(in_, raw)) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::wstring line = FromUtf8(raw);
    if (!IsComment(line)) return line;
  }
  return std::nullopt;
}

std::optional<std::wstring> StreamInput::ReadLine() {
  if (peekedValid_) {
    peekedValid_ = false;
    return std::move(peeked_);
  }
  return Fetch();
}

std::optional<std::wstring> StreamInput::PeekLine() {
  if (interactive_) return std::nullopt;
  if (!peekedValid_) {
    peeked_ = Fetch();
    peekedValid_ = true;
  }
  return peeked_;
}

std::optional<std::wstring> PrefixedInput::ReadLine() {
  if (!first_.Empty()) return first_.ReadLine();
  return then_ ? then_->ReadLine() : std::nullopt;
}

std::optional<std::wstring> PrefixedInput::PeekLine() {
  if (!first_.Empty()) return first_.PeekLine();
  return then_ ? then_->PeekLine() : std::nullopt;
}

InputSource* Input::Current() {
  auto& stack = Stack();
  return stack.empty() ? nullptr : stack.back();
}

std::optional<std::wstring> Input::Prompt(std::wstring_view prompt) {
  Transcript::Write(prompt);
  InputSource* source = Current();
  std::optional<std::wstring> line = source ? source->ReadLine() : std::nullopt;
  if (!line) {
    Transcript::WriteLine(L"*Cancel*");
    return std::nullopt;
  }
  if (!source->Interactive()) Transcript::WriteLine(*line);
  return line;
}

std::optional<std::wstring> Input::ReadLine() {
  InputSource* source = Current();
  return source ? source->ReadLine() : std::nullopt;
}

std::optional<std::wstring> Input::PeekLine() {
  InputSource* source = Current();
  return source ? source->PeekLine() : std::nullopt;
}

bool Input::Interactive() {
  InputSource* source = Current();
  return source && source->Interactive();
}

InputScope::InputScope(InputSource& source) : source_(&source) { Stack().push_back(source_); }

InputScope::~InputScope() {
  auto& stack = Stack();
  auto it = std::find(stack.rbegin(), stack.rend(), source_);
  if (it != stack.rend()) stack.erase(std::next(it).base());
}

void ScriptedLines::Replace(std::vector<std::wstring> lines) {
  scope_.reset();
  lines_ = std::make_unique<LineInput>(std::move(lines));
  scope_ = std::make_unique<InputScope>(*lines_);
}

}  // namespace arxhost
