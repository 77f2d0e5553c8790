#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/afx/afx.h"
#include "platform/fs/kept_folder.h"
#include "platform/host/host.h"
#include "platform/host/host_system.h"

// Kept apart from the rest of the framework, so that tests, which run on the headless
// host, never link the real one.
int AfxMain(const platform::HostOptions& options, bool scaleGiven) {
    platform::HostOptions chosen = options;
    if (const char* scale = std::getenv("VORLA_SCALE");
        !scaleGiven && scale != nullptr && *scale != '\0') {
        if (!platform::ParseScaleMode(scale, chosen.scale)) {
            std::fprintf(stderr, "%s: VORLA_SCALE=%s is neither sharp nor integer; using sharp\n",
                         platform::ProgramName().c_str(), scale);
        }
    }
    std::string whyNot;
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost(chosen, &whyNot);
    if (!host) {
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), whyNot.c_str());
        return 1;
    }
    platform::InstallHost(std::move(host));
    // Where files outlast the program only in a kept folder (a web page), what was kept
    // comes back before the board is ready. On failure the saves say so, one by one.
    std::string reason;
    if (platform::fs::RestoreKeptFolder(reason) != 0) {
        std::fprintf(stderr, "%s: %s\n", platform::ProgramName().c_str(), reason.c_str());
    }
    const int status = AfxWinMain();
#ifdef __EMSCRIPTEN__
    // Once the program has waited in the browser, returning from main no longer ends it
    // (the page would never hear that it ended); exit() does.
    std::exit(status);
#endif
    return status;
}
