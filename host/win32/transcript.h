#pragma once
// The transcript: everything the host's command line shows (prompts, echoed
// answers, what modules print, message boxes). It goes to standard output
// unless a test captures it in process.
#include <string>
#include <string_view>

namespace arxhost {

class Transcript {
 public:
  static void Write(std::wstring_view text);
  static void WriteLine(std::wstring_view text) {
    Write(text);
    Write(L"\n");
  }

  // Collects everything written while it lives. While any capture is alive
  // nothing goes to standard output; nested captures all see the text.
  class Capture {
   public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    const std::wstring& Text() const { return text_; }
    void Clear() { text_.clear(); }

   private:
    friend class Transcript;
    std::wstring text_;
  };
};

}  // namespace arxhost
