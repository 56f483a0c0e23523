#pragma once
// Marks a function or object that a module exports to the host. Modules are
// built with hidden visibility, so only what carries this mark is found by
// the loader, as only what a DLL exports is found by GetProcAddress.
#define ARXHOST_EXPORT __attribute__((visibility("default")))
