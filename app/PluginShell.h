#pragma once
// The plug-in's face in the host: product caption, partial menu, Help and
// About.
#include "StdAfx.h"

// "Tolvane Reader for <release> version 1.0", rebuilt by every command;
// the title of the commands' message boxes.
extern wchar_t ProductCaption[256];

class PluginShell {
 public:
  PluginShell() {}
  ~PluginShell() {}

  static void BuildProductCaption();
  // "_menuload" of the menu beside the module, then its pull-down into the
  // menu bar; the results are not examined.
  static void LoadPluginMenu();
  static void ShowHelp();
  static void ShowAbout();
};
