// SPDX-License-Identifier: MIT
// Pieces the scenes share: rows drawn in order, and the sky and ground of both outdoor scenes.
#pragma once

void draw_rows(const char* const rows[], int count);
void draw_sun_rays();
void draw_empty_sky();
void draw_ground();

template <int N>
void draw_rows(const char* const (&rows)[N])
{
    draw_rows(rows, N);
}
