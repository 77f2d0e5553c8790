#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/command_line.h"
#include "app/simulate.h"
#include "platform/afx/afx.h"
#include "platform/host/host.h"
#include "platform/host/host_system.h"

namespace {

// Output that cannot be written (a closed or full stdout) is a failure, not a success.
int Print(const std::string& text) {
    return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    platform::UseStartingConsole();
    const CommandLine command = ParseCommandLine(platform::ProgramArguments(argc, argv));
    switch (command.mode) {
        case CommandMode::Error:
            std::fprintf(stderr, "vorla: %s\nTry 'vorla --help' for more information.\n",
                         command.error.c_str());
            return 2;
        case CommandMode::Help:
            return Print(UsageText());
        case CommandMode::Version:
            return Print(VersionText());
        case CommandMode::Simulate:
            return RunSimulate(command.simulate, std::cout, std::cerr);
        case CommandMode::Run:
            break;
    }
    g_app.startWorldPath = command.worldPath;
    platform::HostOptions options;
    options.startInWindow = command.startInWindow;
    options.scale = command.scale.value_or(platform::ScaleMode::Sharp);
    return AfxMain(options, command.scale.has_value());
}
