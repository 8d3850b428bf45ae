// SPDX-License-Identifier: MIT
// Expected output, written down from the game's design rather than from anything it printed.
// Plain character arrays and functions only: no test file can see one of these half-built.
#pragma once

#include <string>
#include <vector>

constexpr char CLEAR[] = "\x1b[H\x1b[2J";
constexpr char FIELD_PROMPT[] = "for go to right input '2'; for go to left input '1' [for exit 'q']\n";
constexpr char CASTLE_PROMPT[] = "for turn back input '1', for go to castle input '2' -->";
constexpr char CONTROL_SCREEN[] = "control: \nfor exit press any key";
// "1" on the field; seven strikes, "q" and a tab-led line among them; Enter on the victory screen.
constexpr char FIGHT_INPUT[] = "1\n1\n2\n3\nq\nx\n \t1\n2\n\n";

// Whole scenes with the prompt that follows them.
std::string field_screen();
std::string castle_screen();

std::string battle_opening();
std::string battle_round(int player_life, int enemy_life);
std::string battle_victory(int experience, int player_life, int enemy_life);
// `count` times `text`, with `between` between them.
std::string repeat(const std::string& text, int count, const std::string& between = "");
// One whole fight as a script sees it, clears included, ending in the clear that leaves it.
std::string whole_fight(int experience_after);

// The rows a terminal of `columns` shows after `output` is written from its top-left corner: long
// rows wrap, the bell shows nothing, trailing spaces and empty rows at the bottom are left out.
using Rows = std::vector<std::string>;
Rows rows_of(const std::string& output, std::size_t columns = 80);
