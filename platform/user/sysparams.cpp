// System values.
#include "platform/user/window.h"

#include "platform/host/screen.h"

using namespace platform::user;

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return platform::SCREEN_WIDTH;
        case SM_CYSCREEN:
            return platform::SCREEN_HEIGHT;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return SYSTEM_ICON_SIZE;
        case SM_CXVSCROLL:
            return SCROLL_BAR_WIDTH;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return DOUBLE_CLICK_SIZE;
        default:
            return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* param, UINT) {
    if (action != SPI_GETWHEELSCROLLLINES || param == nullptr)
        return FALSE;
    *static_cast<UINT*>(param) = WHEEL_SCROLL_LINES;
    return TRUE;
}

BOOL MessageBeep(UINT) {
    return TRUE;
}
