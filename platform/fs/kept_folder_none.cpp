#include "platform/fs/kept_folder.h"

namespace platform::fs {

int RestoreKeptFolder(std::string&) {
    return 0;
}

int StoreKeptFolder(std::string&) {
    return 0;
}

}  // namespace platform::fs
