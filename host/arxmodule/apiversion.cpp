// Linked into every module: tells the host which interface the module was
// built against.
#include "arx/rxentry.h"
#include "editor/applications.h"

extern "C" int acrxGetApiVersion() { return arxhost::kApiVersion; }
