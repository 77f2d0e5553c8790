// The program's dialog templates against the dialog face: the layouts were drawn in dialog
// units for a face of known widths, so every text must fit its control on one line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/dialogs/dialog.h"
#include "platform/gdi/gdi.h"
#include "platform/res/resources.h"
#include "platform/res/templates.h"
#include "platform/user/user.h"

namespace {

// Catches a text that wraps or is cut in its control (" + rand(" on two lines in the
// settings dialog), and base units that would scale every template differently.
TEST(TemplateTexts, EveryTextFitsItsControlOnOneLine) {
    for (int id : {100, 133, 135}) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        platform::DialogTemplate t;
        ASSERT_TRUE(platform::LoadDialogTemplate(platform::ExecutableInstance(),
                                                 MAKEINTRESOURCE(uintptr_t(id)), t));
        const int points = t.pointSize > 0 ? t.pointSize : 8;
        const std::string face = t.fontFace.empty() ? "MS Sans Serif" : t.fontFace;
        const LONG base = platform::DialogBaseUnitsFor(points, face);
        const int bx = LOWORD(uintptr_t(base)), by = HIWORD(uintptr_t(base));
        EXPECT_EQ(bx, 6);
        EXPECT_EQ(by, 13);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ kept = SelectObject(dc, platform::DialogFont(points, face));
        TEXTMETRIC tm{};
        ASSERT_TRUE(GetTextMetrics(dc, &tm));
        int texts = 0;
        for (const platform::DialogItemTemplate& item : t.items) {
            const bool isStatic = item.className == "STATIC" || item.className == "Static";
            if (item.text.empty() || (isStatic && (item.style & SS_TYPEMASK) == SS_ICON)) {
                continue;
            }
            SCOPED_TRACE("\"" + item.text + "\"");
            const int width = int(std::lround(item.cx * bx / 4.0));
            const int height = int(std::lround(item.cy * by / 8.0));
            UINT format = DT_CALCRECT | DT_WORDBREAK;
            if ((item.style & SS_NOPREFIX) || !isStatic) {
                format |= DT_NOPREFIX;
            }
            RECT r{0, 0, width, 0};
            DrawText(dc, item.text.c_str(), -1, &r, format);
            // A group box's caption sits 8 pixels in from its left edge.
            const bool group = (item.style & 0x0F) == BS_GROUPBOX && !isStatic;
            EXPECT_LE(r.right + (group ? 8 : 0), width) << "wider than its " << width << " pixels";
            EXPECT_EQ(r.bottom, tm.tmHeight) << "more than one line";
            EXPECT_LE(tm.tmHeight, height) << "taller than its " << height << " pixels";
            ++texts;
        }
        EXPECT_GT(texts, 1);
        SelectObject(dc, kept);
        DeleteDC(dc);
    }
}

}  // namespace
