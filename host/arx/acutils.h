#pragma once
// The acut* utilities: printing to the command line and result buffers.
#include "arx/adsdefs.h"

// Formats with the host's wide formatter (Microsoft rules) and writes the
// text into the transcript. Returns the number of characters written.
int acutPrintf(const ACHAR* format, ...);

// A zeroed result buffer of that type; release it with acutRelRb.
resbuf* acutNewRb(int type);
// Releases a chain of result buffers and the strings and binary chunks they
// hold (strings made by acutNewString or by the host).
int acutRelRb(resbuf* chain);
// A copy of the text on the host's heap, for a result buffer to own.
int acutNewString(const ACHAR* input, ACHAR*& output);
void acutDelString(ACHAR*& text);
resbuf* acutBuildList(int type, ...);
