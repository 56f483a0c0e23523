#pragma once
// The data-exchange library: IGES into the model file, the model-file reader,
// the B-rep to SAT writer and the STL reader.
#include "KelvIges.h"
#include "Kelv3dm.h"
#include "KelvAcis.h"
#include "KelvStl.h"
