// SPDX-License-Identifier: MIT
// What the scenes share: rows drawn in order, and the sky and ground of both outdoor scenes.
#pragma once

#include "../console/console.h"

template <int N>
void draw_rows(const char* const (&rows)[N])
{
    for (const char* row : rows)
        write_text(row);
}

void draw_sun_rays();
void draw_empty_sky();
void draw_ground();
