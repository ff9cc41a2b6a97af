// Must not compile: the version header is a private dependency of app.
#include "version/Version.h"
