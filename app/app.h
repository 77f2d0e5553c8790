// The application object: seeds the random source and starts the main window.
#pragma once

#include <string>

#include "platform/afx/afx.h"

class CSimApp : public CWinApp {
  public:
    CSimApp();
    BOOL InitInstance() override;

    // A world file to load once the board is ready; empty for none.
    std::string startWorldPath;

  protected:
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};

extern CSimApp g_app;
