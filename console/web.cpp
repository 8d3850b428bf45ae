// SPDX-License-Identifier: MIT
// The console in a web page or under node, built with emscripten: the host (the page's terminal, or
// node's standard streams) gives `Module.hostWrite` and `Module.hostRead`. A read waits for the
// player through ASYNCIFY, so the game's code stays the plain blocking loop it is elsewhere.
#include "platform.h"

#include <cerrno>
#include <emscripten.h>

namespace {

// The host writes what it can of the bytes and returns the count, or a negative errno.
EM_JS(int, host_write, (const char* bytes, int length),
      { return Module.hostWrite(HEAPU8.subarray(bytes, bytes + length)); });

// The host resolves with the next bytes typed, at most `size` of them (none at the end of input), or
// with a negative errno.
EM_ASYNC_JS(int, host_read, (char* buffer, int size), {
    const bytes = await Module.hostRead(size);
    if (typeof bytes == "number")
        return bytes;
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});

long result(int count)
{
    if (count >= 0)
        return count;
    errno = -count;
    return -1;
}

}  // namespace

// Nothing is drawn again: a page has no Ctrl-Z, and node no job control worth drawing for.
bool start_terminal() { return false; }
bool typed_input_echoed() { return false; }

long write_some(const char* bytes, std::size_t length)
{
    return result(host_write(bytes, static_cast<int>(length)));
}
long read_some(char* buffer, std::size_t size) { return result(host_read(buffer, static_cast<int>(size))); }

// The page's terminal understands the same escape codes as any other.
const char* clear_codes() { return "\x1b[H\x1b[2J"; }
void run_clear_command() {}

std::size_t screen_spoilt() { return 0; }
void hand_back(std::size_t) {}
