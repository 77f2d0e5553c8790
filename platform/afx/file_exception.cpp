#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/afx/afx.h"
#include "platform/afx/dialog.h"
#include "platform/afx/file.h"
#include "platform/fs/fs.h"
#include "platform/res/templates.h"

namespace {

constexpr UINT FILE_ERROR_STRING_BASE = 0xF120;

// The framework's texts, should the string table not hold them.
const char* BuiltInText(int cause) {
    switch (cause) {
        case CFileException::fileNotFound:
            return "%1 was not found.";
        case CFileException::accessDenied:
            return "Access to %1 was denied.";
        case CFileException::diskFull:
            return "Disk full while accessing %1.";
        default:
            return "An unexpected error occurred while accessing %1.";
    }
}

int DefaultErrorBox(LPCSTR text, UINT type);

platform::FileErrorBoxFn& ErrorBox() {
    static platform::FileErrorBoxFn box = DefaultErrorBox;
    return box;
}

int DefaultErrorBox(LPCSTR text, UINT type) {
    return AfxMessageBox(text, type);
}

}  // namespace

namespace platform {

FileErrorBoxFn SetFileErrorBox(FileErrorBoxFn box) {
    FileErrorBoxFn previous = ErrorBox();
    ErrorBox() = box ? box : DefaultErrorBox;
    return previous;
}

}  // namespace platform

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError > 0)
        lpszError[0] = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT) {
    char text[512];
    if (!GetErrorMessage(text, sizeof text))
        std::strcpy(text, "An unsupported operation was attempted.");
    return ErrorBox()(text, nType);
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName ? lpszFileName : "") {}

int CFileException::ErrnoToException(int nErrno) {
    if (nErrno == platform::fs::QUOTA_ERROR)
        return diskFull;
    switch (nErrno) {
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return accessDenied;
        case EBADF:
            return invalidFile;
        case ENOSPC:
        case EFBIG:
            return diskFull;
        case EIO:
            return hardIO;
        case EWOULDBLOCK:
            return sharingViolation;
        default:
            return genericException;
    }
}

void CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName) {
    AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}

std::string CFileException::GetErrorMessage() const {
    std::string format;
    HINSTANCE module = AfxGetInstanceHandle();
    if (!platform::LoadStringResource(module, FILE_ERROR_STRING_BASE + UINT(m_cause), format) &&
        !platform::LoadStringResource(module, FILE_ERROR_STRING_BASE + genericException, format))
        format = BuiltInText(m_cause);
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '1') {
            text += m_strFileName;
            ++i;
        } else {
            text += format[i];
        }
    }
    std::string reason = m_strReason;
    if (reason.empty() && m_lOsError > 0)
        reason = platform::fs::ErrorText(int(m_lOsError));
    if (!reason.empty())
        text += "\n" + reason;
    return text;
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    std::string text = GetErrorMessage();
    size_t n = std::min<size_t>(text.size(), nMaxError - 1);
    std::memcpy(lpszError, text.data(), n);
    lpszError[n] = '\0';
    return TRUE;
}

int CFileException::ReportError(UINT nType, UINT) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONSTOP;
    return ErrorBox()(GetErrorMessage().c_str(), nType);
}
