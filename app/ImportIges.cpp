#include "ImportIges.h"

int ImportIges() { return 0; }
