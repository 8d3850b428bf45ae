// SPDX-License-Identifier: MIT
#include "landscape.h"
#include "scenes.h"

namespace {

// clang-format off
const char* const clouds[] = {
    "                                             ________                     /\n",
    "    ________                                ( (    ) )                   /\n",
    "   ( (    ) )                   ________   (_(_cloud__)                 /\n",
    "  (_(_cloud__)                 ( (    ) )\n",
    "                              (_(_cloud__)\n",
};

// The body row keeps its trailing space.
const char* const hero[] = {
    "  _\n",
    " o.o\n",
    R"( /|\ )" "\n",
    "  |\n",
    R"( / \                                                                       land)" "\n",
};
// clang-format on

}  // namespace

void draw_field()
{
    draw_sun_rays();
    draw_rows(clouds);
    draw_empty_sky();
    draw_rows(hero);
    draw_ground();
}
