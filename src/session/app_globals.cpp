#include "session/app_globals.h"

TAppGlobals AppGlobals;
