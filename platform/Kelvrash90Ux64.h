#pragma once
// The data-exchange library: IGES into the model file, the model-file reader,
// the B-rep to SAT writer and the STL reader.
#if __has_include("KelvIges.h")
#include "KelvIges.h"
#endif
#if __has_include("Kelv3dm.h")
#include "Kelv3dm.h"
#endif
#if __has_include("KelvAcis.h")
#include "KelvAcis.h"
#endif
#if __has_include("KelvStl.h")
#include "KelvStl.h"
#endif
