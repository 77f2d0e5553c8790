// Dialogs in the framework's manner: CDialog run modally from a template, with dialog
// data exchange (DDX_Text for int) and the framework's message boxes.
#pragma once

#include <map>
#include <memory>

#include "platform/afx/afx.h"
#include "platform/dialogs/dialog.h"

// The framework's prompt strings.
constexpr UINT AFX_IDP_PARSE_INT = 0xF110;

class CDialog;

// One exchange between a dialog's controls and its fields. A failed field stops the
// exchange: later DDX_ calls do nothing, and UpdateData returns FALSE.
class CDataExchange {
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
    BOOL m_bFailed = FALSE;

    // The control with id nIDC (an edit field), remembered for Fail.
    HWND PrepareEditCtrl(int nIDC);
    HWND PrepareCtrl(int nIDC);
    // Puts the focus back on the last control (its whole text selected) and ends the
    // exchange.
    void Fail();
};

// Writes value as "%d"; reads it back with the framework's integer parse, showing
// "Please enter an integer." and failing the exchange when the field is not one.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);

namespace platform {
// The framework's integer parse of a field's text: at most the first 31 characters,
// blanks and tabs around, one decimal integer with an optional sign, clamped to the
// 32-bit range; 0 only when the first character after the blanks is the digit 0.
bool ParseDialogInt(const char* text, int& value);
}  // namespace platform

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog; returns the EndDialog value, or -1 when it can't be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // The control with that id, or null. The object lives as long as the dialog does.
    CWnd* GetDlgItem(int nID);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

    DECLARE_MESSAGE_MAP()

  private:
    void ReleaseItems();
    std::map<HWND, std::unique_ptr<CWnd>> m_items;
};
