// Windows has no hang-up signal: a closed console ends the program through SDL's quit.
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/host/host_system.h"

namespace platform {

namespace {

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) {
        return "";
    }
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return out;
}

bool Reaches(DWORD stream) {
    HANDLE h = GetStdHandle(stream);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

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

// The C runtime's argv is in the ANSI code page, which can't hold every file name.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> out;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : out;
    }
    for (int i = 1; i < count; ++i) {
        out.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return out;
}

void UseStartingConsole() {
    const bool output = Reaches(STD_OUTPUT_HANDLE);
    const bool error = Reaches(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (!output) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (!error) {
        std::freopen("CONOUT$", "w", stderr);
    }
}

}  // namespace platform
