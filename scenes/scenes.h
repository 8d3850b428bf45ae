// SPDX-License-Identifier: MIT
// The pictures. They only write: whoever calls them decides about clearing and reading.
#pragma once

void draw_field();
void draw_castle();

enum enemy_state { enemy_alive, enemy_defeated };
enum menu_wording { opening_wording, round_wording };

void draw_battle_opening();
void draw_battle_round(double player_life, double enemy_life);
void draw_battle_victory(int experience, double player_life, double enemy_life);
void draw_arena(enemy_state enemy);
void draw_strike_menu(menu_wording wording);
