// SPDX-License-Identifier: MIT
#include "landscape.h"
#include "scenes.h"

namespace {

// clang-format off
// The field's clouds, drifted two columns to the right.
const char* const clouds[] = {
    "                                               ________                     /\n",
    "      ________                                ( (    ) )                   /\n",
    "     ( (    ) )                   ________   (_(_cloud__)                 /\n",
    "    (_(_cloud__)                 ( (    ) )\n",
    "                                (_(_cloud__)\n",
};

// Trailing spaces on the first three rows are part of the picture.
const char* const hero_and_castle[] = {
    "  _                              _____        \n",
    " o.o                          ___|   |___     \n",
    R"( /|\                       _|__       __|  )" "\n",
    "  |                        |    enemy     _|\n",
    R"( / \                     ____|  castle    __|)" "\n",
};
// clang-format on

}  // namespace

void draw_castle()
{
    draw_sun_rays();
    draw_rows(clouds);
    draw_empty_sky();
    draw_rows(hero_and_castle);
    draw_ground();
}
