// Saving and loading worlds through the open/save dialog.
#include <string>

#include "app/mainframe.h"
#include "persist/worldfile.h"
#include "platform/afx/file.h"

namespace {

constexpr const char* WORLD_FILTER = "Vorla Files (*.vrz)|*.vrz| All Files (*.*)|*.*||";
constexpr DWORD WORLD_DIALOG_FLAGS = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// The world file's bytes through the framework's file class; its exceptions pass on.
class CFileWorldStream : public WorldStream {
  public:
    explicit CFileWorldStream(CFile& file) : file_(file) {}
    uint32_t Read(void* buffer, uint32_t count) override { return file_.Read(buffer, count); }
    void Write(const void* buffer, uint32_t count) override { file_.Write(buffer, count); }

  private:
    CFile& file_;
};

void RemoveQuietly(const char* path) {
    try {
        CFile::Remove(path);
    } catch (CFileException* error) {
        error->Delete();
    }
}

}  // namespace

// The world goes to a temporary file beside the chosen one, which replaces it only once
// it is complete on disk: a save that fails half-way leaves the old file as it was.
void CMainFrame::OnSaveWorld() {
    DialogScope scope(*this);
    CFileDialog dialog(FALSE, "vrz", nullptr, WORLD_DIALOG_FLAGS, WORLD_FILTER);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const std::string path = dialog.GetPathName();
    const std::string temporary = path + ".vorla-save";
    CFile file;
    if (!file.Open(temporary.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        return;
    }
    try {
        CFileWorldStream stream(file);
        WriteWorldFile(stream, world);
        file.Flush();
        file.Close();
        CFile::Rename(temporary.c_str(), path.c_str());
        platform::FlushFolder(platform::FolderOf(path).c_str());
    } catch (CFileException* error) {
        file.Abort();
        RemoveQuietly(temporary.c_str());
        error->m_strFileName = path;
        error->ReportError(MB_ICONSTOP | MB_OK);
        error->Delete();
    }
}

void CMainFrame::OnLoadWorld() {
    DialogScope scope(*this);
    CFileDialog dialog(TRUE, "vrz", nullptr, WORLD_DIALOG_FLAGS, WORLD_FILTER);
    CFile file;
    if (dialog.DoModal() != IDOK ||
        !file.Open(dialog.GetPathName().c_str(), CFile::modeRead | CFile::typeBinary)) {
        return;
    }
    try {
        CFileWorldStream stream(file);
        // A failing read leaves the world as it was (the reader reads it all first).
        if (ReadWorldFile(stream, world)) {
            brush.tool = TOOL_NOTHING;
        }
        file.Close();
    } catch (CFileException* error) {
        file.Abort();
        error->ReportError(MB_ICONSTOP | MB_OK);
        error->Delete();
    }
}
