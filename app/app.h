// The application object: seeds the random source and starts the main window.
#pragma once

#include "platform/afx/afx.h"

class CSimApp : public CWinApp {
public:
    CSimApp();
    BOOL InitInstance() override;
};

extern CSimApp g_app;
