// SPDX-License-Identifier: MIT
// The console on Windows: the C runtime's descriptors in text mode, and cls to clear.
//
// Standard input must stay in text mode: the C runtime then turns each typed CR LF into one line
// end, so after the last strike the victory screen's first wait takes that line end and the second
// waits for Enter. In binary mode the two waits would take the CR and the LF, and the victory
// screen would vanish unseen. Output in text mode writes each LF as CR LF.
#include "platform.h"

#include <cstdlib>
#include <io.h>

// Nothing is drawn again after Ctrl-Z: there it ends the input, as the end of a file would.
bool start_terminal() { return false; }
bool typed_input_echoed() { return false; }

// Blocking handles give neither EAGAIN nor EINTR, and nothing the console writes comes near 4 GiB.
long write_some(const char* bytes, std::size_t length)
{
    return _write(1, bytes, static_cast<unsigned>(length));
}

long read_some(char* buffer, std::size_t size) { return _read(0, buffer, static_cast<unsigned>(size)); }

// The command interpreter writes straight to the console, after all that was written before.
const char* clear_codes() { return nullptr; }
void run_clear_command() { (void)std::system("cls"); }

std::size_t screen_spoilt() { return 0; }

void hand_back(std::size_t) {}
