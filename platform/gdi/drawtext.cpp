// Text on a device context: measured and drawn as it stands (GetTextExtentPoint32,
// TextOut), and with DrawText's prefixes, line breaks, word wrapping, alignment and
// clipping. Text is UTF-8.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/gdi/gdi_internal.h"
#include "platform/utf8.h"

namespace platform::gdi {
namespace {

struct Line {
    size_t start;
    size_t length;
};

// Scratch buffers reused across calls, so a warm DrawText allocates nothing.
struct Scratch {
    std::vector<char> text;
    std::vector<uint8_t> underline;
    std::vector<Line> lines;
};

Scratch& Buffers() {
    static Scratch scratch;
    return scratch;
}

// "&x" underlines x, "&&" is "&", and a trailing "&" is dropped.
void StripPrefixes(const char* text, size_t count, bool prefixes, Scratch& s) {
    s.text.clear();
    s.underline.clear();
    for (size_t i = 0; i < count; ++i) {
        uint8_t under = 0;
        if (prefixes && text[i] == '&') {
            if (++i >= count) {
                break;
            }
            under = text[i] != '&';
        }
        s.text.push_back(text[i]);
        s.underline.push_back(under);
    }
}

bool IsBreak(char c) {
    return c == '\n' || c == '\r';
}

// Splits [start, end) into lines no wider than width, breaking at spaces. A word wider
// than the box stays whole on its own line.
void WrapParagraph(const DC& dc, const char* text, size_t start, size_t end, int32_t width,
                   std::vector<Line>& lines) {
    size_t i = start;
    do {
        size_t lineStart = i;
        size_t lastSpace = SIZE_MAX;
        int32_t w = 0;
        size_t j = i;
        for (size_t next; j < end; j = next) {
            next = std::min(end, utf8::Next(std::string_view(text, end), j));
            int32_t adv = TextWidth(dc, text + j, next - j);
            if (text[j] == ' ') {
                if (j > lineStart) {
                    lastSpace = j;
                }
            } else if (w + adv > width && lastSpace != SIZE_MAX) {
                break;
            }
            w += adv;
        }
        if (j >= end) {
            lines.push_back({lineStart, end - lineStart});
            break;
        }
        size_t lineEnd = lastSpace;
        while (lineEnd > lineStart && text[lineEnd - 1] == ' ') {
            --lineEnd;
        }
        lines.push_back({lineStart, lineEnd - lineStart});
        i = lastSpace;
        while (i < end && text[i] == ' ') {
            ++i;
        }
    } while (i < end);
}

void BreakLines(const DC& dc, const Scratch& s, UINT format, int32_t width,
                std::vector<Line>& lines) {
    lines.clear();
    const char* text = s.text.data();
    size_t n = s.text.size();
    if (format & DT_SINGLELINE) {
        lines.push_back({0, n});
        return;
    }
    size_t start = 0;
    while (true) {
        size_t end = start;
        while (end < n && !IsBreak(text[end])) {
            ++end;
        }
        if ((format & DT_WORDBREAK) && end > start) {
            WrapParagraph(dc, text, start, end, width, lines);
        } else {
            lines.push_back({start, end - start});
        }
        if (end >= n) {
            break;
        }
        // "\r\n" is one break.
        start = end + ((text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1);
        if (start >= n) {
            break;
        }
    }
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

int DrawText(HDC handle, LPCSTR text, int count, RECT* rect, UINT format) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || rect == nullptr || (text == nullptr && count != 0)) {
        return 0;
    }
    constexpr LONG LIMIT = 1 << 24;
    for (LONG v : {rect->left, rect->top, rect->right, rect->bottom}) {
        if (v < -LIMIT || v > LIMIT) {
            return 0;
        }
    }
    size_t n = count < 0 ? std::strlen(text) : size_t(count);
    TEXTMETRIC tm;
    FontMetrics(*dc, tm);
    const int32_t lineHeight = tm.tmHeight;
    if (n == 0) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }

    const bool calc = (format & DT_CALCRECT) != 0;
    const bool clip = !(format & DT_NOCLIP) && !calc;
    Scratch& s = Buffers();
    StripPrefixes(text, n, !(format & DT_NOPREFIX), s);
    BreakLines(*dc, s, format, rect->right - rect->left, s.lines);

    int32_t y = rect->top;
    if ((format & DT_SINGLELINE) && !calc) {
        if (format & DT_VCENTER) {
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        } else if (format & DT_BOTTOM) {
            y = rect->bottom - lineHeight;
        }
    }

    const DC::ViewRange views = dc->Views();
    ClipBox box = clip ? ClipBox{rect->left, rect->top, rect->right, rect->bottom}
                       : ClipBox{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    int32_t maxWidth = 0;
    bool drew = false;
    for (const Line& line : s.lines) {
        const char* lineText = s.text.data() + line.start;
        int32_t w = TextWidth(*dc, lineText, line.length);
        maxWidth = std::max(maxWidth, w);
        if (!calc) {
            int32_t x = rect->left;
            if (format & DT_CENTER) {
                x = rect->left + (rect->right - rect->left - w) / 2;
            } else if (format & DT_RIGHT) {
                x = rect->right - w;
            }
            for (const Canvas& canvas : views) {
                DrawTextRun(*dc, canvas, x, y, lineText, line.length, box,
                            s.underline.data() + line.start);
            }
            drew = true;
        }
        y += lineHeight;
        // The line that crosses the bottom of the box is the last one drawn.
        if (clip && y > rect->bottom) {
            break;
        }
    }
    if (calc) {
        rect->right = rect->left + maxWidth;
        rect->bottom = y;
    }
    if (drew) {
        dc->Changed();
    }
    return y - rect->top;
}

BOOL GetTextExtentPoint32(HDC handle, LPCSTR text, int count, SIZE* size) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) {
        return FALSE;
    }
    TEXTMETRIC tm;
    FontMetrics(*dc, tm);
    size->cx = TextWidth(*dc, text, size_t(count));
    size->cy = tm.tmHeight;
    return TRUE;
}

BOOL TextOut(HDC handle, int x, int y, LPCSTR text, int count) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || count < 0 || (text == nullptr && count > 0)) {
        return FALSE;
    }
    for (const Canvas& c : dc->Views()) {
        DrawTextRun(*dc, c, x, y, text, size_t(count), ClipBox{0, 0, c.width, c.height}, nullptr);
    }
    dc->Changed();
    return TRUE;
}
