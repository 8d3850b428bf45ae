// SPDX-License-Identifier: MIT
#include "../console/console.h"
#include "../scenes/scenes.h"
#include "adventure.h"

namespace {

constexpr double PLAYER_START_LIFE = 100.0;
constexpr double ENEMY_START_LIFE = 40.0;
constexpr double PLAYER_DAMAGE = 4.0;
constexpr double ENEMY_DAMAGE = 6.0;
constexpr int VICTORY_POINTS = 8;

}  // namespace

// The fight runs the same course whatever the player strikes: the choice is read and never looked at.
void fight()
{
    unsigned char strike = 0;
    clear_screen();
    draw_battle_opening();
    read_choice(strike);

    double player_life = PLAYER_START_LIFE;
    double enemy_life = ENEMY_START_LIFE;
    for (;;) {
        player_life -= PLAYER_DAMAGE;
        enemy_life -= ENEMY_DAMAGE;
        if (enemy_life <= 0.0)
            break;
        clear_screen();
        draw_battle_round(player_life, enemy_life);
        strike = 0;
        read_choice(strike);
    }

    wait_char();  // normally the line end of the last strike
    add_experience(VICTORY_POINTS);
    clear_screen();
    draw_battle_victory(experience, player_life, enemy_life);
    wait_char();
    clear_screen();
}
