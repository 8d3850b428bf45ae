// SPDX-License-Identifier: MIT
#include "landscape.h"
#include "scenes.h"

namespace {

// clang-format off
// Trailing spaces pad the rows; they are part of the picture. Only the enemy's eyes and body change
// when he falls: crossed-out eyes, and the body of "#" fallen flat.
const char* const arena_top[] = {
    "  _                                                   \n",
    " o.o                                      ______      \n",
};
const char* const alive_enemy[] = {
    R"( /|\  <---you                            | 0 0 |) <---enemy)" "\n",
    "  |                                      |#####|     \n",
};
const char* const fallen_enemy[] = {
    R"( /|\  <---you                            | x x |) <---enemy)" "\n",
    "  |                                      |-----|     \n",
};
const char* const arena_bottom[] = {
    R"( / \                                                 )" "\n",
};
// clang-format on

void draw_status(double player_life, double enemy_life)
{
    write_formatted("your life:  %g                           enemy life: %g\n\n", player_life, enemy_life);
}

}  // namespace

void draw_arena(enemy_state enemy)
{
    draw_rows(arena_top);
    if (enemy == enemy_alive)
        draw_rows(alive_enemy);
    else
        draw_rows(fallen_enemy);
    draw_rows(arena_bottom);
}

void draw_strike_menu(menu_wording wording)
{
    write_text("\n\n");
    write_text("for strike: \n");
    write_text("  - head, input [1]\n");
    write_text("  - body, input [2]\n");
    write_text(wording == opening_wording ? "  - middle, input [3]\n" : "  - middle, input [any key]\n");
    write_text("--> ");
}

void draw_battle_opening()
{
    write_text("your under atack!\n");
    write_text("==================================\n\n\n\n\n");
    write_text("your life: 100                           enemy life: 40\n\n");
    draw_arena(enemy_alive);
    draw_strike_menu(opening_wording);
}

// Rows 1 to 6 stay empty where the opening screen has its title, so the status line keeps its row.
void draw_battle_round(double player_life, double enemy_life)
{
    write_text("\n\n\n\n\n\n\a");
    draw_status(player_life, enemy_life);
    draw_arena(enemy_alive);
    draw_strike_menu(round_wording);
}

void draw_battle_victory(int experience, double player_life, double enemy_life)
{
    write_text("you win! [:\n");
    write_formatted("exp : %i / 50\n", experience);
    write_text("\n\n\n\n\n");
    draw_status(player_life, enemy_life);
    draw_arena(enemy_defeated);
    write_text("\nfor continue your quest press enter\n");
}
