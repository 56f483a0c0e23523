#pragma once
// Common includes of the plug-in's sources.
#include "arx/arxheaders.h"
