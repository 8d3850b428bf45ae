// SPDX-License-Identifier: MIT
#include "screens.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

// A picture row as designed: the counts it was given with, and the literal without its line end.
// A miscounted transcription stops the tests at once instead of hiding in an expectation.
struct Row {
    int leading, length, trailing;
    const char* text;
};

// The rows with their line ends, each moved `shift` columns to the right.
std::string lines(std::initializer_list<Row> rows, int shift = 0)
{
    std::string out;
    for (const Row& row : rows) {
        std::string text = row.text;
        int leading = static_cast<int>(text.find_first_not_of(' '));
        int trailing = static_cast<int>(text.size() - 1 - text.find_last_not_of(' '));
        if (leading != row.leading || static_cast<int>(text.size()) != row.length ||
            trailing != row.trailing) {
            std::fprintf(stderr, "test data row miscounted: \"%s\"\n", row.text);
            std::abort();
        }
        out += std::string(shift, ' ') + text + "\n";
    }
    return out;
}

// The sky, with the clouds `drift` columns to the right of the field's, and the ground under `figures`.
// clang-format off
std::string landscape(int drift, const std::string& figures)
{
    return lines({{45, 76, 0, "                                             --------------------======o sun"},
                  {54, 74, 0, "                                                      ------=============o"},
                  {58, 76, 0, "                                                          -----------------o"}}) +
           lines({{45, 75, 0, "                                             ________                     /"},
                  {4, 74, 0, "    ________                                ( (    ) )                   /"},
                  {3, 73, 0, "   ( (    ) )                   ________   (_(_cloud__)                 /"},
                  {2, 41, 0, "  (_(_cloud__)                 ( (    ) )"},
                  {30, 42, 0, "                              (_(_cloud__)"}}, drift) +
           std::string(8, '\n') + figures + std::string(80, '=');
}

std::string arena(bool defeated)
{
    return lines({{2, 54, 51, "  _                                                   "},
                  {1, 54, 6, " o.o                                      ______      "}}) +
           (defeated ? lines({{1, 59, 0, " /|\\  <---you                            | x x |) <---enemy"},
                              {2, 53, 5, "  |                                      |-----|     "}})
                     : lines({{1, 59, 0, " /|\\  <---you                            | 0 0 |) <---enemy"},
                              {2, 53, 5, "  |                                      |#####|     "}})) +
           lines({{1, 53, 49, " / \\                                                 "}});
}
// clang-format on

std::string strike_menu(const char* middle)
{
    return std::string("\n\nfor strike: \n") + "  - head, input [1]\n" + "  - body, input [2]\n" + middle +
           "--> ";
}

// "your life:", two spaces, the value; 27 spaces; "enemy life: ", the value; an empty row.
std::string status_line(int player_life, int enemy_life)
{
    return "your life:  " + std::to_string(player_life) + std::string(27, ' ') +
           "enemy life: " + std::to_string(enemy_life) + "\n\n";
}

}  // namespace

// clang-format off
std::string field_screen()
{
    return landscape(0, lines({{2, 3, 0, "  _"}, {1, 4, 0, " o.o"}, {1, 5, 1, " /|\\ "}, {2, 3, 0, "  |"},
                               {1, 79, 0, " / \\                                                                       land"}})) +
           FIELD_PROMPT;
}

std::string castle_screen()
{
    return landscape(2, lines({{2, 46, 8, "  _                              _____        "},
                               {1, 46, 5, " o.o                          ___|   |___     "},
                               {1, 43, 2, " /|\\                       _|__       __|  "},
                               {2, 44, 0, "  |                        |    enemy     _|"},
                               {1, 45, 0, " / \\                     ____|  castle    __|"}})) +
           CASTLE_PROMPT;
}
// clang-format on

std::string battle_opening()
{
    return "your under atack!\n" + std::string(34, '=') + "\n" + std::string(4, '\n') + "your life: 100" +
           std::string(27, ' ') + "enemy life: 40\n\n" + arena(false) +
           strike_menu("  - middle, input [3]\n");
}

std::string battle_round(int player_life, int enemy_life)
{
    return std::string(6, '\n') + "\a" + status_line(player_life, enemy_life) + arena(false) +
           strike_menu("  - middle, input [any key]\n");
}

std::string battle_victory(int experience, int player_life, int enemy_life)
{
    return "you win! [:\nexp : " + std::to_string(experience) + " / 50\n" + std::string(5, '\n') +
           status_line(player_life, enemy_life) + arena(true) + "\nfor continue your quest press enter\n";
}

std::string whole_fight(int experience_after)
{
    const int rounds[6][2] = {{96, 34}, {92, 28}, {88, 22}, {84, 16}, {80, 10}, {76, 4}};
    std::string out = CLEAR + battle_opening();
    for (const auto& lives : rounds)
        out += CLEAR + battle_round(lives[0], lives[1]);
    return out + CLEAR + battle_victory(experience_after, 72, -2) + CLEAR;
}

std::string repeat(const std::string& text, int count, const std::string& between)
{
    std::string out;
    for (int time = 0; time < count; ++time)
        out.append(time ? between : std::string()).append(text);
    return out;
}

Rows rows_of(const std::string& output, std::size_t columns)
{
    Rows rows(1);
    for (char c : output) {
        if (c == '\n') {
            rows.emplace_back();
        } else if (c != '\a') {
            if (rows.back().size() == columns)  // the cursor waits at the edge; the next character wraps
                rows.emplace_back();
            rows.back() += c;
        }
    }
    for (std::string& row : rows)
        row.erase(row.find_last_not_of(' ') + 1);
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}
