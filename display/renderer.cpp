// Composes the whole screen into the back buffer, from scratch, every frame.
#include <cstdio>

#include "app/mainframe.h"
#include "display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace {

constexpr COLORREF TEXT_YELLOW = RGB(255, 255, 0);
// Without DT_SINGLELINE the vertical centring does nothing: text starts at the top.
constexpr UINT TEXT_FORMAT = DT_CENTER | DT_VCENTER;

void DrawNumber(HDC dc, int32_t value, RECT box) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", int(value));
    DrawText(dc, text, -1, &box, TEXT_FORMAT);
}

// The marker's left edge: its centre moves over 130 pixels from x = 492.
LONG MarkerX(double balance) { return LONG(balance * 1.3 + 492 - 11); }

// One text pass on the back buffer: yellow, transparent, in font. Skipped when the back
// buffer gives no device context.
template <typename Draw>
void TextPass(HFONT font, Draw draw) {
    HDC dc = g_display.GetBackDC();
    if (dc == nullptr) {
        return;
    }
    SetTextColor(dc, TEXT_YELLOW);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ kept = SelectObject(dc, font);
    draw(dc);
    SelectObject(dc, kept);
    g_display.ReleaseBackDC();
}

}  // namespace

int CMainFrame::RenderFrame() {
    IDirectDrawSurface* back = g_display.backBuffer;
    // A lost surface ends the frame: the sheets are restored and the next frame redraws.
    auto lost = [this](HRESULT result) {
        if (result != DDERR_SURFACELOST) {
            return false;
        }
        RestoreSpriteSheets();
        return true;
    };

    RECT whole{0, 0, 640, 480};
    if (lost(back->BltFast(0, 0, surfacePlocha, &whole, DDBLTFAST_WAIT))) {
        return 0;
    }

    for (int column = 0; column < BOARD_SIZE; ++column) {
        for (int row = 0; row < BOARD_SIZE; ++row) {
            const Cell& cell = world.board[CellIndex(column, row)];
            if (cell.type == CELL_EMPTY) {
                continue;
            }
            RECT source{cell.sprite.left, cell.sprite.top, cell.sprite.right, cell.sprite.bottom};
            if (lost(back->BltFast(DWORD(11 + 20 * column), DWORD(11 + 20 * row), surfacePotvory,
                                   &source, DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY))) {
                return 0;
            }
        }
    }

    if (yearTimerId != 0) {
        RECT stop{0, 0, 149, 50};
        if (lost(back->BltFast(482, 414, surfaceOkoli, &stop, DDBLTFAST_WAIT))) {
            return 0;
        }
    }

    if (hoverColumn != -1) {
        const Cell& cell = world.board[CellIndex(hoverColumn, hoverRow)];
        if (cell.type != CELL_EMPTY) {
            const LONG column = cell.sprite.left / 20;
            const LONG row = cell.sprite.top / 20;
            RECT portrait{50 * column, 100 * row, 50 * column + 50, 100 * row + 100};
            if (lost(back->BltFast(490, 192, surfacePotbig, &portrait, DDBLTFAST_WAIT))) {
                return 0;
            }
            TextPass(panelFont, [&cell](HDC dc) {
                DrawNumber(dc, cell.hp, RECT{590, 200, 620, 220});
                DrawNumber(dc, cell.attack, RECT{590, 227, 620, 242});
                DrawNumber(dc, cell.age, RECT{560, 275, 620, 295});
            });
        }
    }

    RECT marker{0, 50, 22, 105};
    if (lost(back->BltFast(DWORD(MarkerX(world.balance)), 143, surfaceOkoli, &marker,
                           DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY))) {
        return 0;
    }

    TextPass(yearFont, [this](HDC dc) {
        char text[24];
        std::snprintf(text, sizeof(text), "ROK %d", int(world.year));
        RECT box{495, 352, 620, 384};
        DrawText(dc, text, -1, &box, TEXT_FORMAT);
    });
    return 1;
}

void CMainFrame::OnPaint() {
    CFrameWnd::OnPaint();
    if (surfacesReady == 0) {
        return;
    }
    RenderFrame();
    HDC windowDC = ::GetDC(m_hWnd);
    HDC backDC = g_display.GetBackDC();
    if (backDC != nullptr) {
        BitBlt(windowDC, 0, 0, 640, 480, backDC, 0, 0, SRCCOPY);
    }
    ::ReleaseDC(m_hWnd, windowDC);
    if (backDC != nullptr) {
        g_display.ReleaseBackDC();
    }
}
