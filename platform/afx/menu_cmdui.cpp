// The frame's answer to WM_INITMENUPOPUP: each command item of the menu about to show
// goes through the frame's command-update handlers, which check and grey it.
#include "platform/afx/afx.h"
#include "platform/menus/menu.h"

namespace {

// A menu item as the update handlers see it: their answers go straight into the menu.
class CMenuCmdUI : public CCmdUI {
  public:
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        EnableMenuItem(Menu(), m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    }
    void SetCheck(int nCheck) override {
        CCmdUI::SetCheck(nCheck);
        CheckMenuItem(Menu(), m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }

  private:
    HMENU Menu() const { return static_cast<HMENU>(m_pOther); }
};

}  // namespace

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    Default();
    if (bSysMenu || pPopupMenu == nullptr) {
        return;
    }
    HMENU menu = pPopupMenu->m_hMenu;
    const HWND self = m_hWnd;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        // Sub-menus and separators have no command.
        if (id == 0 || id == 0xFFFFFFFF) {
            continue;
        }
        CMenuCmdUI ui;
        ui.m_nID = id;
        ui.m_nIndex = UINT(i);
        ui.m_pOther = menu;
        UpdateCommandUI(ui);
        // A handler may have destroyed the menu, or the window and this object with it.
        if (GetMenuItemCount(menu) < 0 || CWnd::FromHandle(self) != this) {
            return;
        }
    }
}
