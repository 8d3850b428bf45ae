// SPDX-License-Identifier: MIT
#include "landscape.h"

namespace {

constexpr int SKY_ROWS = 8;
constexpr int GROUND_WIDTH = 80;

// clang-format off
const char* const sun_rays[] = {
    "                                             --------------------======o sun\n",
    "                                                      ------=============o\n",
    "                                                          -----------------o\n",
};
// clang-format on

}  // namespace

void draw_sun_rays() { draw_rows(sun_rays); }

void draw_empty_sky()
{
    for (int row = 0; row < SKY_ROWS; ++row)
        write_text("\n");
}

// No line end: on an 80-column console the cursor wraps, and the prompt starts on the next row.
void draw_ground()
{
    for (int column = 0; column < GROUND_WIDTH; ++column)
        write_text("=");
}
