#include "platform/afx/dialog.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/res/templates.h"

namespace {

constexpr const char* DIALOG_CLASS = "AfxDialog";

void EnsureDialogClass() {
    WNDCLASS existing;
    if (GetClassInfo(AfxGetInstanceHandle(), DIALOG_CLASS, &existing))
        return;
    WNDCLASS wc;
    wc.lpfnWndProc = &CWnd::WndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = DIALOG_CLASS;
    RegisterClass(&wc);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

namespace platform {

bool ParseDialogInt(const char* text, int& value) {
    // The field is read into a 32-character buffer: at most 31 characters count.
    char buffer[32];
    std::strncpy(buffer, text ? text : "", sizeof(buffer) - 1);
    buffer[sizeof(buffer) - 1] = 0;
    const char* p = buffer;
    while (IsBlank(*p))
        ++p;
    // "-0" and "+0" read as 0 from a sign, which does not count: only a leading digit 0
    // makes a zero, so that an empty or sign-only field is never taken for 0.
    char first = *p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    long long v = 0;
    bool overflow = false;
    while (*p >= '0' && *p <= '9') {
        if (!overflow) {
            v = v * 10 + (*p - '0');
            if (v > 1LL + INT_MAX)
                overflow = true;
        }
        ++p;
    }
    while (IsBlank(*p))
        ++p;
    if (*p != 0)
        return false;
    if (negative)
        v = -v;
    long long clamped = overflow ? (negative ? INT_MIN : INT_MAX)
                                 : (v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : v));
    if (clamped == 0 && first != '0')
        return false;
    value = int(clamped);
    return true;
}

}  // namespace platform

// CDataExchange ---------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    if (m_hWndLastControl && IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (!pDX || pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        char text[32];
        ::GetWindowText(control, text, sizeof(text));
        int parsed = 0;
        if (!platform::ParseDialogInt(text, parsed)) {
            AfxMessageBox(AFX_IDP_PARSE_INT, MB_ICONEXCLAMATION | MB_OK);
            pDX->Fail();
            return;
        }
        value = parsed;
    } else {
        char text[16];
        std::snprintf(text, sizeof(text), "%d", value);
        ::SetWindowText(control, text);
    }
}

// Message boxes -----------------------------------------------------------------------------

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    CWinApp* app = AfxGetApp();
    // The box belongs to whatever window is active: a dialog, while one runs.
    HWND owner = GetActiveWindow();
    if (!owner || !IsWindowEnabled(owner)) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    return MessageBox(owner, lpszText, app ? app->m_pszAppName : nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT) {
    std::string text;
    platform::LoadStringResource(AfxGetInstanceHandle(), nIDPrompt, text);
    return AfxMessageBox(text.c_str(), nType, nIDPrompt);
}

// CDialog -------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_COMMAND(IDOK, OnOKCommand)
ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    ReleaseItems();
}

void CDialog::ReleaseItems() {
    // The controls belong to the dialog window, not to these wrappers.
    for (auto& [hwnd, wnd] : m_items) {
        (void)hwnd;
        wnd->m_hWnd = nullptr;
    }
    m_items.clear();
}

INT_PTR CDialog::DoModal() {
    platform::DialogTemplate t;
    HINSTANCE instance = AfxGetInstanceHandle();
    if (!platform::LoadDialogTemplate(instance, MAKEINTRESOURCE(m_nIDTemplate), t))
        return -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = parent ? parent->m_hWnd : nullptr;
    EnsureDialogClass();
    INT_PTR result = platform::RunDialogBox(
        instance, t, owner, nullptr, 0, [this](const platform::DialogWindowArgs& a) -> HWND {
            if (!CreateEx(a.exStyle, DIALOG_CLASS, a.caption, a.style, a.x, a.y, a.width, a.height,
                          a.owner, nullptr, a.createParam))
                return nullptr;
            return m_hWnd;
        });
    ReleaseItems();
    return result;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

CWnd* CDialog::GetDlgItem(int nID) {
    HWND control = ::GetDlgItem(m_hWnd, nID);
    if (!control)
        return nullptr;
    if (CWnd* permanent = CWnd::FromHandle(control))
        return permanent;
    auto& slot = m_items[control];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = control;
    }
    return slot.get();
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefDlgProc(m_hWnd, message, wParam, lParam);
}
