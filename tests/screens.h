// Expected output, written down from the game's design rather than from anything it printed.
#pragma once

#include <string>
#include <vector>

extern const std::string CLEAR;
extern const std::string FIELD_PROMPT;
extern const std::string CASTLE_PROMPT;
extern const std::string CONTROL_SCREEN;

// Whole scenes as bytes, and as the rows a terminal shows (trailing spaces trimmed, no line ends).
std::string field_scene();
std::string castle_scene();
std::vector<std::string> field_rows();
std::vector<std::string> castle_rows();

std::string battle_opening();
std::string battle_round(int player_life, int enemy_life);
std::string battle_victory(int experience, int player_life, int enemy_life);
// One whole fight as a script sees it, clears included, ending in the clear that leaves it.
std::string whole_fight(int experience_after);

// Input that runs one fight from a field prompt: "1", seven strikes, and Enter on the victory screen.
extern const std::string FIGHT_INPUT;

// Splits output into the rows an 80-column terminal would show after it, for screen checks.
std::string rtrim(const std::string& text);
