// SPDX-License-Identifier: MIT
#include "redraw.h"

#include <cstring>

namespace {

// A terminal shows its last rows, so the record keeps as many whole lines as the terminal has rows.
// A line typed in canonical mode holds at most 4,095 bytes and its line end, so the array holds
// that many of the longest lines; for taller terminals it only bounds the memory. A fixed array,
// not a string: the game then needs no C++ library at run time, and starts faster and smaller.
constexpr std::size_t MOST_ROWS = 128;
constexpr std::size_t LONGEST_TYPED_LINE = 4096;

char screen[MOST_ROWS * LONGEST_TYPED_LINE];
std::size_t screen_length = 0, screen_line_ends = 0, screen_rows = 0;

void drop_oldest_line()
{
    const char* end = static_cast<const char*>(std::memchr(screen, '\n', screen_length));
    std::size_t cut = end ? static_cast<std::size_t>(end - screen) + 1 : screen_length;
    screen_line_ends -= end != nullptr;
    std::memmove(screen, screen + cut, screen_length - cut);
    screen_length -= cut;
}

void keep(char c)
{
    if (screen_length == sizeof screen)
        drop_oldest_line();
    screen[screen_length++] = c;
    if (c == '\n' && ++screen_line_ends > screen_rows)
        drop_oldest_line();
}

}  // namespace

void start_record(std::size_t rows) { screen_rows = rows; }

// Output without the bell, which shows nothing; typed input as the terminal echoed it, with control
// characters as ^K and the like, which raw would act again.
void record(const char* text, std::size_t length, bool typed)
{
    for (std::size_t i = 0; screen_rows > 0 && i < length; ++i) {
        char c = text[i];
        if (typed && ((c >= 0 && c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)) {
            keep('^');
            c ^= 0x40;
        }
        if (typed || c != '\a')
            keep(c);
    }
}

void forget_screen() { screen_length = screen_line_ends = 0; }

const char* recorded_screen() { return screen; }
std::size_t recorded_length() { return screen_length; }
