#pragma once
// Prompts answered by lines as a script answers them, and the transcript of
// what they printed.
#include <string>
#include <vector>

#include "arx/dbId.h"
#include "win32/input.h"
#include "win32/transcript.h"

class ScriptedAnswers {
 protected:
  // The lines that answer what is asked next (replacing earlier ones); the
  // transcript starts anew.
  void Answer(std::vector<std::wstring> lines) {
    answers.Replace(std::move(lines));
    transcript.Clear();
  }

  // An entity's handle as `pick` and `select-set` name it.
  static std::wstring Handle(AcDbObjectId id) {
    ACHAR text[17];
    id.handle().getIntoAsciiBuffer(text);
    return text;
  }

  arxhost::Transcript::Capture transcript;
  arxhost::ScriptedLines answers;
};
