// The little the host asks of the operating system outside SDL, one file per system.
#pragma once

#include <string>
#include <vector>

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

// The arguments after the program's name, in UTF-8 whatever the system's code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error reach the console the program was started from, also where
// a windowed program gets none of its own; streams redirected elsewhere stay there.
void UseStartingConsole();

}  // namespace platform
