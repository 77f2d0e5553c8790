// Saving and loading worlds through the open/save dialog, and the world named at start.
// Every failure is shown with the file's full path and the reason.
#include <string>

#include "app/mainframe.h"
#include "app/world_files.h"
#include "display/display.h"
#include "platform/afx/file.h"

namespace {

constexpr const char* WORLD_FILTER = "Vorla Files (*.vrz)|*.vrz| All Files (*.*)|*.*||";
constexpr DWORD WORLD_DIALOG_FLAGS = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

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
    try {
        SaveWorldFile(dialog.GetPathName(), world);
    } catch (CFileException* error) {
        Report(error);
    }
}

void CMainFrame::OnLoadWorld() {
    DialogScope scope(*this);
    CFileDialog dialog(TRUE, "vrz", nullptr, WORLD_DIALOG_FLAGS, WORLD_FILTER);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    LoadWorld(dialog.GetPathName());
}

void CMainFrame::OpenWorldAtStart(const std::string& path) {
    // No frame has been shown yet: the board goes on both pages first, so that a message
    // about the file stands over the board rather than over a blank screen.
    for (int page = 0; page < 2; ++page) {
        if (RenderFrame() == 1) {
            g_display.Flip();
        }
    }
    DialogScope scope(*this);
    LoadWorld(path);
}

void CMainFrame::LoadWorld(const std::string& path) {
    try {
        LoadWorldFile(path, world);
        brush.tool = TOOL_NOTHING;
    } catch (CFileException* error) {
        Report(error);
    }
}
