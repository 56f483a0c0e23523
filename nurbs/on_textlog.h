#pragma once
// ON_TextLog: where IsValid() and Dump() write their explanations.
#include <string>

class ON_TextLog {
 public:
  ON_TextLog() = default;
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void PrintNewLine() { m_text += '\n'; }
  const std::string& Text() const { return m_text; }
  void Clear() { m_text.clear(); }

 private:
  std::string m_text;
};
