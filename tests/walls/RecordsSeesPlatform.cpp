// Control: a library sees the headers of what it links.
#include "platform/Utf8.h"
