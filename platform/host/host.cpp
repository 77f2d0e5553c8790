#include "platform/host/host.h"

#include "platform/host/headless.h"
#include "platform/host/screen.h"

namespace platform {
namespace {

// Never destroyed: the display device is released during static destruction and still
// talks to the host then.
std::unique_ptr<Host>& Slot() {
    static auto* slot = new std::unique_ptr<Host>();
    return *slot;
}

}  // namespace

Host& CurrentHost() {
    std::unique_ptr<Host>& slot = Slot();
    if (!slot) {
        slot = std::make_unique<HeadlessHost>();
        AttachScreen(slot.get());
    }
    return *slot;
}

void InstallHost(std::unique_ptr<Host> host) {
    Slot() = std::move(host);
    AttachScreen(Slot().get());
    ResetScreen();
}

bool ParseScaleMode(std::string_view text, ScaleMode& mode) {
    if (text == "sharp") {
        mode = ScaleMode::Sharp;
        return true;
    }
    if (text == "integer") {
        mode = ScaleMode::Integer;
        return true;
    }
    return false;
}

HeadlessHost& InstallHeadlessHost() {
    auto host = std::make_unique<HeadlessHost>();
    HeadlessHost& ref = *host;
    InstallHost(std::move(host));
    return ref;
}

}  // namespace platform
