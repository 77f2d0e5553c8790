// The fault-injection hook's bookkeeping, shared by CFile and the whole-file transfers.
#pragma once

#include "platform/afx/file.h"

namespace platform {

// True when this call of op is to fail; *err gets the errno to report.
bool TakeFileFault(FileOp op, int* err);

}  // namespace platform
