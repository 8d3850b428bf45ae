// SPDX-License-Identifier: MIT
// The console on Windows: the C runtime's descriptors in text mode, and cls to clear.
//
// Standard input must stay in text mode: the C runtime then turns each typed CR LF into one line
// end, so after the last strike the victory screen's first wait takes that line end and the second
// waits for Enter. In binary mode the two waits would take the CR and the LF, and the victory
// screen would vanish unseen. Output in text mode writes each LF as CR LF.
#include "platform.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <io.h>

// Nothing is redrawn after Ctrl-Z: there it ends the input, as the end of a file would.
bool start_terminal() { return false; }
bool typed_input_echoed() { return false; }
std::size_t terminal_rows() { return 24; }

// Blocking handles give neither EAGAIN nor EINTR; a partial count still goes on with the rest.
bool write_all(const char* bytes, std::size_t length)
{
    while (length > 0) {
        int written = _write(1, bytes, static_cast<unsigned>(std::min<std::size_t>(length, INT_MAX)));
        if (written < 0)
            return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

long read_some(char* buffer, std::size_t size) { return _read(0, buffer, static_cast<unsigned>(size)); }

// The command interpreter writes straight to the console: what is queued must get there first.
void clear_terminal()
{
    show_pending_output();
    (void)std::system("cls");
}

bool continued_in_foreground() { return false; }

void hand_back(std::size_t) {}
