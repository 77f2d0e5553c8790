// The main window: owns the world, the brush, the sprite sheets, the fonts and the two
// timers, and turns messages into calls on them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/afx/afx.h"
#include "platform/ddraw/ddraw.h"
#include "sim/brush.h"
#include "sim/world.h"

constexpr UINT_PTR RENDER_TIMER = 1;
constexpr UINT_PTR YEAR_TIMER = 2;
constexpr UINT RENDER_INTERVAL_MS = 40;
constexpr UINT WM_INIT_SURFACES = WM_USER + 1;

class CMainFrame : public CFrameWnd {
  public:
    CMainFrame();
    ~CMainFrame() override;

    void StopYears();
    // The four sprite sheets: loaded once at start-up, reloaded after a loss.
    BOOL LoadSpriteSheets();
    void RestoreSpriteSheets();
    // Composes a whole frame into the back buffer: 1 when complete, 0 after a loss.
    int RenderFrame();

    uint32_t renderTimerId = 0;
    uint32_t yearTimerId = 0;
    IDirectDrawSurface* surfacePlocha = nullptr;
    IDirectDrawSurface* surfacePotvory = nullptr;
    IDirectDrawSurface* surfacePotbig = nullptr;
    IDirectDrawSurface* surfaceOkoli = nullptr;
    HICON appIcon = nullptr;
    HCURSOR appCursor = nullptr;
    CFont panelFont;
    CFont yearFont;
    int32_t surfacesReady = 0;
    int32_t modalOpen = 0;
    int32_t hoverColumn = -1;
    int32_t hoverRow = 0;

    Brush brush;
    WorldState world;

    // Shows the pop-up menu with its corner at the press point; its command arrives
    // afterwards as a posted WM_COMMAND.
    void ShowPopupMenu(int x, int y);
    void StartYears();
    void ToggleYears();
    // Loads the world file named at start, as the load command loads the file it is given.
    void OpenWorldAtStart(const std::string& path);

    // While a command's dialog is open: timer ticks are dropped and the page GDI draws on
    // is in front. Cleared on every way out.
    class DialogScope {
      public:
        explicit DialogScope(CMainFrame& frame);
        ~DialogScope();
        DialogScope(const DialogScope&) = delete;
        DialogScope& operator=(const DialogScope&) = delete;

      private:
        CMainFrame& frame_;
    };

  protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnInitSurfaces(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    void OnClans();
    void OnExit();
    void OnSettings();
    void OnReset();
    void OnAbout();
    void OnLoadWorld();
    void OnSaveWorld();
    // The load command's work once it has a path: failures are shown, nothing changes.
    void LoadWorld(const std::string& path);
    void OnToolBlue();
    void OnToolRed();
    void OnToolTree();
    void OnToolRock();
    void OnToolWater();
    void OnToolErase();
    void OnToolNothing();
    void OnUpdateTool(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};

// Keeps its own count of the system cursor's display counter: show = 1 raises it to 0,
// show = 0 lowers it below 0.
void ShowSystemCursor(int show);
