#pragma once
// The module's own instance handle and its MFC extension-module record.
#include "StdAfx.h"

// Recorded at process attach; read at kInitAppMsg and to find the module's
// folder.
extern HINSTANCE ModuleInstance;
// Initialised once at the first attach that succeeds; its module resource
// handle is what commands make current to reach the module's resources.
extern CAcExtensionModule ExtensionModule;
