#pragma once
// Everything plug-in code includes from the host: the Windows and runtime
// calls, MFC, and the module interface. Add new host headers here.
#include "win32/wintypes.h"
#include "win32/winapi.h"
#include "win32/wcrt.h"
#include "win32/wformat.h"
#include "mfc/CString.h"
#include "arx/ErrorStatus.h"
#include "arx/rxdefs.h"
#include "arx/rxobject.h"
#include "arx/rxentry.h"
#include "arx/adsdefs.h"
#include "arx/acutils.h"
#include "arx/aced.h"
#include "arx/edcommand.h"
#include "arx/dynlinker.h"
#include "arx/AcRxArxApp.h"
#include "arx/dbheaders.h"
