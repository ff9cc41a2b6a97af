// Must not compile: the window toolkit stays in the Qt platform library.
#include "platform/qt/QtWindow.h"
