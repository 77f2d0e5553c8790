// The program's two globals, in one unit so that the display device is constructed
// before the application object and destroyed after it.
#include "app/app.h"
#include "display/display.h"

CDisplay g_display;
CSimApp g_app;
