// Must be refused: reaches the Linux code from beside it, past the include roots.
#include "linux/WavPlayer.h"
