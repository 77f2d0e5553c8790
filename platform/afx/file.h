// Files in the framework's manner: CFile opens, reads and writes through the platform's
// file-system interface (platform/fs) and throws CFileException on failure;
// CFileException carries the cause and shows the framework's standard message for it;
// CFileDialog wraps the common open/save dialog.
//
// Exceptions are thrown as pointers, as the framework does, and the catch site owns the
// object:
//     catch (CFileException* e) { e->ReportError(); e->Delete(); }
//
// Sharing. The share bits are settled as the file opens, before it is truncated, so an
// opener that is refused can't damage the file it was refused:
//   shareCompat, shareExclusive, shareDenyRead   nobody else may have it (OPEN_DENY_ALL)
//   shareDenyWrite                               others may read alongside (OPEN_DENY_WRITE)
//   shareDenyNone                                shared freely
// A refused opener fails with sharingViolation. On POSIX these are advisory locks (flock)
// that bind openers through CFile only; on Windows they are the system's share modes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/comdlg/filedlg.h"
#include "platform/dialogs/dialog.h"
#include "platform/fs/fs.h"
#include "platform/windef.h"

class CWnd;

// The root of the framework's exceptions. Delete() frees an exception caught by pointer.
class CException {
  public:
    CException() = default;
    virtual ~CException() = default;
    CException(const CException&) = default;
    CException& operator=(const CException&) = default;

    // Copies the message into buffer (truncated to maxError - 1 characters and always
    // terminated); FALSE when there is no message.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr);
    // Shows the message in a message box; returns the box's result.
    virtual int ReportError(UINT nType = 0, UINT nMessageID = 0);
    void Delete() { delete this; }
};

class CFileException : public CException {
  public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 14,
        endOfFile = 15,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;  // the errno behind the cause, -1 when there is none
    std::string m_strFileName;
    // Why, in a few words, when no system error says it (m_lOsError is then -1).
    std::string m_strReason;

    // The cause for an errno value.
    static int ErrnoToException(int nErrno);
    // Throws new CFileException(cause, lOsError, fileName).
    [[noreturn]] static void ThrowErrno(int nErrno, LPCSTR lpszFileName = nullptr);

    // The standard text for the cause with %1 replaced by the file name, then the reason
    // on a line of its own: m_strReason, or the system's words for m_lOsError.
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;
    std::string GetErrorMessage() const;
    // Shows the standard text. Without an icon in nType the stop icon is used, as the
    // framework did for a file command that failed.
    int ReportError(UINT nType = 0, UINT nMessageID = 0) override;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1,
                                        LPCSTR lpszFileName = nullptr);

class CFile {
  public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,  // no translation on this system: text is binary
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

    CFile() = default;
    // Opens or throws.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes without throwing.
    virtual ~CFile();

    // FALSE on failure, with the cause in *pError when given; never throws.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Takes over a handle opened by other means; errors will name lpszFileName.
    void Attach(platform::fs::Handle hFile, LPCSTR lpszFileName);
    // Reads until nCount bytes or the end of the file; fewer only at the end.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws; a write the system stores only in part is
    // diskFull.
    virtual void Write(const void* lpBuf, UINT nCount);
    // Commits the written data to the device (fsync).
    virtual void Flush();
    virtual void Close();
    // Closes, ignoring any error.
    virtual void Abort();

    virtual uint64_t Seek(int64_t lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    virtual uint64_t GetPosition() const;
    virtual uint64_t GetLength() const;
    virtual void SetLength(uint64_t dwNewLen);

    // The full path the file was opened by; the name alone; empty when not open.
    std::string GetFilePath() const { return m_strFileName; }
    std::string GetFileName() const;
    BOOL IsOpen() const { return m_hFile != platform::fs::NO_HANDLE; }

    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

  protected:
    platform::fs::Handle m_hFile = platform::fs::NO_HANDLE;
    std::string m_strFileName;
};

// The common open/save dialog with the framework's "Name|pattern|...||" filter. Without
// a parent the dialog belongs to the application's main window.
class CFileDialog {
  public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr,
                         LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
    virtual ~CFileDialog() = default;

    // IDOK with the chosen path, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    std::string GetPathName() const;   // the full path
    std::string GetFileName() const;   // the name with its extension
    std::string GetFileExt() const;    // the extension without the dot
    std::string GetFileTitle() const;  // the name without the extension

    OPENFILENAME m_ofn;

  private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_strDefExt;
    std::string m_strFilter;  // NUL-separated, double-NUL ended
    std::string m_strTitle;
    char m_szFileName[4096] = {};
    char m_szFileTitle[256] = {};
};

namespace platform {

// Makes a directory entry change (a rename or a new file) durable where the system needs
// a folder flushed for that. Throws CFileException* on failure.
void FlushFolder(LPCSTR lpszFolder);
// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
// An absolute path: relative ones (and on Windows "\x" and "C:x") are taken from the
// current directory.
std::string FullPathOf(const std::string& path);

// Test hook: fail a file operation on purpose. The nth call of op from now (1 = the next
// one, counted over all files, whole-file saves and loads included) fails with
// errnoValue. For FileOp::Write an errnoValue of 0 makes that write store only its first
// half and then nothing more, as a full device does. Store is the storing of the kept
// folder that ends every whole-file save (platform/fs/kept_folder.h).
enum class FileOp { Open, Read, Write, Flush, Close, Seek, Rename, Remove, FlushFolder, Store };
void InjectFileFault(FileOp op, int nth, int errnoValue);
// Drops every pending fault.
void ClearFileFaults();

// The message box ReportError shows through; tests may replace it. Returns the previous.
using FileErrorBoxFn = int (*)(LPCSTR text, UINT type);
FileErrorBoxFn SetFileErrorBox(FileErrorBoxFn box);

}  // namespace platform
