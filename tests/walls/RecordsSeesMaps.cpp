// Must not compile: records does not link maps.
#include "maps/CalibratedMap.h"
