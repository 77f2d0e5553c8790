// The worlds folder of a web page, kept in IndexedDB through emscripten's IDBFS.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/fs/kept_folder.h"

namespace platform::fs {
namespace {

constexpr const char* KEPT_FOLDER = "/worlds";
constexpr int REASON_SIZE = 512;

enum class KeptState { NotRestored, Restored, Broken };
KeptState g_state = KeptState::NotRestored;
std::string g_brokenReason;

// The page finds the folder as Module.vorlaWorldsFolder, and Module.vorlaKept is set once
// what was stored has come back: only then may the page store it (a world it imports).
// clang-format off
EM_JS(int, MountKept, (const char* folder, char* reason, int size), {
    Module.vorlaWorldsFolder = UTF8ToString(folder);
    // Without IndexedDB, emscripten's IDBFS would end the program on its first use.
    if (typeof indexedDB == 'undefined' || !indexedDB) {
        stringToUTF8('this browser offers no IndexedDB', reason, size);
        return 1;
    }
    try {
        FS.mount(IDBFS, {}, Module.vorlaWorldsFolder);
        return 0;
    } catch (error) {
        stringToUTF8(String((error && error.message) || error), reason, size);
        return 1;
    }
});

// One sync at a time, the page's own in the same line.
EM_ASYNC_JS(int, SyncKept, (int restore, char* reason, int size), {
    if (!Module.vorlaSyncKept) {
        let last = Promise.resolve(null);
        Module.vorlaSyncKept = (fromStorage) => {
            last = last.then(() => new Promise((resolve) => {
                try {
                    FS.syncfs(fromStorage, (error) => {
                        resolve(error ? String(error.message || error.name || error) : null);
                    });
                } catch (error) {
                    resolve(String((error && error.message) || error));
                }
            }));
            return last;
        };
    }
    const failure = await Module.vorlaSyncKept(restore != 0);
    if (failure === null) {
        if (restore) {
            Module.vorlaKept = true;
        }
        return 0;
    }
    stringToUTF8(failure, reason, size);
    return 1;
});
// clang-format on

int Broken(std::string reason, std::string& out) {
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    g_state = KeptState::Broken;
    g_brokenReason = reason;
    out = std::move(reason);
    return EIO;
}

}  // namespace

int RestoreKeptFolder(std::string& reason) {
    if (g_state != KeptState::NotRestored) {
        return 0;
    }
    if (::mkdir(KEPT_FOLDER, 0777) != 0 && errno != EEXIST) {
        return Broken(std::string(KEPT_FOLDER) + ": " + std::strerror(errno), reason);
    }
    // Whatever happens to the storage, the dialog opens in the folder: its files then
    // last as long as the page.
    char text[REASON_SIZE] = {};
    const bool mounted = MountKept(KEPT_FOLDER, text, REASON_SIZE) == 0;
    ::chdir(KEPT_FOLDER);
    if (!mounted || SyncKept(1, text, REASON_SIZE) != 0) {
        return Broken(text, reason);
    }
    g_state = KeptState::Restored;
    return 0;
}

int StoreKeptFolder(std::string& reason) {
    switch (g_state) {
        case KeptState::NotRestored:
            return 0;
        case KeptState::Broken:
            reason = "The browser's storage could not be opened (" + g_brokenReason +
                     "). The file lasts only as long as the page.";
            return EIO;
        case KeptState::Restored:
            break;
    }
    char text[REASON_SIZE] = {};
    if (SyncKept(0, text, REASON_SIZE) != 0) {
        reason = std::string("The browser's storage did not take it: ") + text;
        return EIO;
    }
    return 0;
}

}  // namespace platform::fs
