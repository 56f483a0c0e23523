#pragma once
// The editor's C interface: issuing commands, the menu, system variables,
// the main window; the prompts, picks and selection sets of acedinput.h.
#include "arx/acedinput.h"
#include "arx/adsdefs.h"

// Runs a command with its answers as if typed: pairs of a type code and a
// value (RTSTR text, RTSHORT int, RTLONG int32, RTREAL double, RTPOINT and
// RT3DPOINT a double array), ended by RTNONE. The first value names the
// command. RTNORM when the command ran (whatever it reported), RTERROR when
// it is unknown or the list is malformed.
int acedCommand(int rtype, ...);
// The same from a result-buffer chain.
int acedCmd(const resbuf* chain);

// Menu commands such as "P10=+Group.pop1" (insert the group's pull-down POP1
// at position 10 of the menu bar) and "P10=-" (remove the pull-down there).
int acedMenuCmd(const ACHAR* command);

// Reads a system variable into result (its type and value; a text is a new
// string the buffer owns). RTNORM, or RTREJ for an unknown variable.
int acedGetVar(const ACHAR* name, resbuf* result);
// Sets one. RTNORM, or RTREJ for an unknown or read-only variable or a value
// of the wrong type.
int acedSetVar(const ACHAR* name, const resbuf* value);

// The host's main window, owner of message boxes and dialogs.
HWND adsw_acadMainWnd();
