// SPDX-License-Identifier: MIT
#include "redraw.h"

#include <cstring>

namespace {

// A terminal shows its last rows, so the record keeps as many lines as the tallest terminal has
// rows; how many of them to draw is the terminal's height at the time, which may have changed. A
// line typed in canonical mode holds at most 4,095 bytes and its line end, so the array holds that
// many of the longest lines; control characters, kept as ^K and the like, only make it drop the
// oldest sooner. A fixed array, not a string: the game then needs no C++ library at run time, and
// starts faster and smaller.
constexpr std::size_t MOST_ROWS = 256;
constexpr std::size_t LONGEST_TYPED_LINE = 4096;

char screen[MOST_ROWS * LONGEST_TYPED_LINE];
std::size_t screen_length = 0, screen_line_ends = 0;
bool kept = false;

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
    if (c == '\n' && ++screen_line_ends > MOST_ROWS)
        drop_oldest_line();
}

}  // namespace

void start_record(bool kept_from_now) { kept = kept_from_now; }

// Output without the bell, which shows nothing; typed input as the terminal echoed it, with control
// characters as ^K and the like, which raw would act again.
void record(const char* text, std::size_t length, bool typed)
{
    if (!kept)
        return;
    for (std::size_t i = 0; i < length; ++i) {
        // Unsigned, as char is on ARM: bytes from 0x80 up are text, not control characters.
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (typed && ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)) {
            keep('^');
            c ^= 0x40;
        }
        if (typed || c != '\a')
            keep(static_cast<char>(c));
    }
}

void forget_screen() { screen_length = screen_line_ends = 0; }

const char* recorded_screen(std::size_t rows, std::size_t& length)
{
    const char* start = screen;
    for (std::size_t line = rows; line < screen_line_ends; ++line)
        start = static_cast<const char*>(std::memchr(start, '\n', screen + screen_length - start)) + 1;
    length = static_cast<std::size_t>(screen + screen_length - start);
    return start;
}
