// Windows has no hang-up signal: a closed console ends the program through SDL's quit.
#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/host/host_system.h"

namespace platform {

void CatchHangUp() {}

bool TakeHangUp() {
    return false;
}

bool HangUpPending() {
    return false;
}

std::string ProgramName() {
    std::string name = fs::NameOf(fs::ExecutablePath());
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.resize(dot);
    }
    return name.empty() ? "vorla" : name;
}

}  // namespace platform
