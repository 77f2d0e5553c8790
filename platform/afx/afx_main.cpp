#include "platform/afx/afx.h"
#include "platform/host/host.h"

// Kept apart from the rest of the framework, so that tests, which run on the headless
// host, never link the real one.
int AfxMain() {
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost();
    if (!host)
        return 1;
    platform::InstallHost(std::move(host));
    return AfxWinMain();
}
