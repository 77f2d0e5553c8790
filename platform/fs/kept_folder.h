// The folder whose files outlast the program. Where the system keeps every file anyway
// there is nothing to do. A web page's files live in the page's memory and go with it;
// there one folder is kept in the browser's own storage (IndexedDB): brought back once at
// start, and stored again after every save.
#pragma once

#include <string>

namespace platform::fs {

// Makes the kept folder, brings back what was stored in it, and makes it the current
// folder, where the open/save dialog opens. 0, or an errno value with the browser's words
// in reason. Where files last anyway: 0, and the current folder stays as it is.
int RestoreKeptFolder(std::string& reason);

// Stores the kept folder as it now is: 0, or an errno value with the reason. 0 where
// files last anyway, and before any restore. After a failed restore it refuses: storing
// would replace what was kept with a folder that never held it.
int StoreKeptFolder(std::string& reason);

}  // namespace platform::fs
