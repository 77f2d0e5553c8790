// Saving and loading worlds through the open/save dialog. The whole file is built or read
// in memory; the framework's whole-file transfers do the careful part, and every failure
// is shown with the file's full path and the reason.
#include <string>
#include <vector>

#include "app/mainframe.h"
#include "persist/worldfile.h"
#include "platform/afx/file_image.h"

namespace {

constexpr const char* WORLD_FILTER = "Vorla Files (*.vrz)|*.vrz| All Files (*.*)|*.*||";
constexpr DWORD WORLD_DIALOG_FLAGS = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr const char* NOT_A_WORLD_FILE = "Not a world file";

void Report(CFileException* error) {
    error->ReportError(MB_ICONSTOP | MB_OK);
    error->Delete();
}

}  // namespace

void CMainFrame::OnSaveWorld() {
    DialogScope scope(*this);
    CFileDialog dialog(FALSE, "vrz", nullptr, WORLD_DIALOG_FLAGS, WORLD_FILTER);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    MemoryWorldStream image;
    WriteWorldFile(image, world);
    try {
        platform::SaveFileImage(dialog.GetPathName().c_str(), image.Bytes().data(),
                                image.Bytes().size());
    } catch (CFileException* error) {
        Report(error);
    }
}

// Nothing changes unless the file is read whole and carries the marker.
void CMainFrame::OnLoadWorld() {
    DialogScope scope(*this);
    CFileDialog dialog(TRUE, "vrz", nullptr, WORLD_DIALOG_FLAGS, WORLD_FILTER);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    const std::string path = platform::FullPathOf(dialog.GetPathName());
    try {
        MemoryWorldStream stream(platform::LoadFileImage(path.c_str(), WORLD_FILE_LIMIT));
        if (!ReadWorldFile(stream, world)) {
            auto* error = new CFileException(CFileException::genericException, -1, path.c_str());
            error->m_strReason = NOT_A_WORLD_FILE;
            throw error;
        }
        brush.tool = TOOL_NOTHING;
    } catch (CFileException* error) {
        Report(error);
    }
}
