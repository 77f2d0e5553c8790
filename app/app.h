// The application object: seeds the random source and starts the main window.
#pragma once

#include "platform/afx/afx.h"

class CSimApp : public CWinApp {
public:
    CSimApp();
    BOOL InitInstance() override;

protected:
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};

extern CSimApp g_app;
