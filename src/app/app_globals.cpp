#include "app/app_globals.h"

TAppGlobals AppGlobals;
