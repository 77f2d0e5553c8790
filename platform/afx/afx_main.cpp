#include <cerrno>
#include <cstdio>

#include "platform/afx/afx.h"
#include "platform/host/host.h"

// Kept apart from the rest of the framework, so that tests, which run on the headless
// host, never link the real one.
int AfxMain() {
    std::string whyNot;
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost(&whyNot);
    if (!host) {
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, whyNot.c_str());
        return 1;
    }
    platform::InstallHost(std::move(host));
    return AfxWinMain();
}
