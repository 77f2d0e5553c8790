// The cursor: which one shows, and its display counter.
#include "platform/user/window.h"

#include "platform/host/host.h"

namespace platform::user {

void ApplyCursorToHost(HCURSOR cursor) {
    if (!cursor) {
        // No cursor at all: a fully transparent one hides it.
        static const platform::HostImage blank = [] {
            platform::HostImage b;
            b.width = 1;
            b.height = 1;
            b.argb = {0};
            return b;
        }();
        CurrentHost().SetCursor(&blank);
        return;
    }
    CurrentHost().SetCursor(platform::IconImage(cursor));
}

}  // namespace platform::user

using namespace platform::user;

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    return LoadShared(instance, name, true);
}

BOOL DestroyCursor(HCURSOR cursor) {
    return DestroyIcon(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
    UserState& s = S();
    if (cursor && !s.icons.count(reinterpret_cast<uintptr_t>(cursor)))
        return s.cursor;
    HCURSOR previous = s.cursor;
    s.cursor = cursor;
    if (previous != cursor)
        ApplyCursorToHost(cursor);
    return previous;
}

HCURSOR GetCursor() {
    return S().cursor;
}

int ShowCursor(BOOL show) {
    UserState& s = S();
    bool wasShown = s.cursorCount >= 0;
    s.cursorCount += show ? 1 : -1;
    bool shown = s.cursorCount >= 0;
    if (shown != wasShown)
        CurrentHost().ShowCursor(shown);
    return s.cursorCount;
}

BOOL GetCursorPos(POINT* point) {
    if (!point)
        return FALSE;
    *point = S().cursorPos;
    return TRUE;
}
