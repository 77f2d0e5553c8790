#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/afx/afx.h"
#include "platform/host/host.h"

// Kept apart from the rest of the framework, so that tests, which run on the headless
// host, never link the real one.
int AfxMain(const platform::HostOptions& options, bool scaleGiven) {
    platform::HostOptions chosen = options;
    if (!scaleGiven) {
        // An unknown value is ignored: the environment is no place to fail a start.
        if (const char* scale = std::getenv("VORLA_SCALE")) {
            platform::ParseScaleMode(scale, chosen.scale);
        }
    }
    std::string whyNot;
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost(chosen, &whyNot);
    if (!host) {
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, whyNot.c_str());
        return 1;
    }
    platform::InstallHost(std::move(host));
    return AfxWinMain();
}
