// The little the host asks of the operating system outside SDL, one file per system.
#pragma once

#include <string>

namespace platform {

// From now on a hang-up (the terminal or the session gone) is taken as a request to
// close, unless the program was started to ignore it. Nothing where there is no hang-up.
void CatchHangUp();
// True when a hang-up has arrived since the last call.
bool TakeHangUp();
// Whether one is waiting, without taking it.
bool HangUpPending();

// The program's name as the user started it, for messages on standard error.
std::string ProgramName();

}  // namespace platform
