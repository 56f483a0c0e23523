// Linked into every module: tells the host which interface the module was
// built against.
#include "arx/applications.h"
#include "arx/rxentry.h"

extern "C" int acrxGetApiVersion() { return arxhost::kApiVersion; }
