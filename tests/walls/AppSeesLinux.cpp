// Must not compile: the machine is handed in to app, never included by it.
#include "platform/linux/SuspendTime.h"
