// Control: app links track.
#include "track/Track.h"
