#include <errno.h>
#include <signal.h>

#include <csignal>

#include "platform/host/host_system.h"

namespace platform {
namespace {

// The handler only sets the flag; the host's event loop turns it into a close request.
volatile std::sig_atomic_t g_hangUp = 0;

extern "C" void OnHangUp(int) {
    g_hangUp = 1;
}

}  // namespace

void CatchHangUp() {
    // Only where nobody chose otherwise: a program started under nohup keeps ignoring it.
    struct sigaction current {};
    if (sigaction(SIGHUP, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction action {};
        action.sa_handler = OnHangUp;
        sigemptyset(&action.sa_mask);
        sigaction(SIGHUP, &action, nullptr);
    }
}

bool TakeHangUp() {
    if (g_hangUp == 0) {
        return false;
    }
    g_hangUp = 0;
    return true;
}

bool HangUpPending() {
    return g_hangUp != 0;
}

std::string ProgramName() {
    return program_invocation_short_name;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseStartingConsole() {}

}  // namespace platform
