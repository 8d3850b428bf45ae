#include "screens.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A picture row as designed: the literal (without its line end) and the counts it was given with.
// A miscounted transcription stops the tests at once instead of hiding in an expectation.
struct Row {
    int leading;
    int length;
    int trailing;
    const char* text;
};

std::string checked(const Row& row)
{
    std::string text = row.text;
    int leading = static_cast<int>(text.find_first_not_of(' '));
    int trailing = static_cast<int>(text.size() - 1 - text.find_last_not_of(' '));
    if (leading != row.leading || static_cast<int>(text.size()) != row.length || trailing != row.trailing) {
        std::fprintf(stderr, "test data row miscounted: \"%s\"\n", row.text);
        std::abort();
    }
    return text;
}

std::string lines(const std::vector<Row>& rows)
{
    std::string out;
    for (const Row& row : rows)
        out += checked(row) + "\n";
    return out;
}

const std::vector<Row> SUN = {
    {45, 76, 0, "                                             --------------------======o sun"},
    {54, 74, 0, "                                                      ------=============o"},
    {58, 76, 0, "                                                          -----------------o"},
};

const std::vector<Row> FIELD_CLOUDS = {
    {45, 75, 0, "                                             ________                     /"},
    {4, 74, 0, "    ________                                ( (    ) )                   /"},
    {3, 73, 0, "   ( (    ) )                   ________   (_(_cloud__)                 /"},
    {2, 41, 0, "  (_(_cloud__)                 ( (    ) )"},
    {30, 42, 0, "                              (_(_cloud__)"},
};

const std::vector<Row> FIELD_HERO = {
    {2, 3, 0, "  _"},
    {1, 4, 0, " o.o"},
    {1, 5, 1, " /|\\ "},
    {2, 3, 0, "  |"},
    {1, 79, 0, " / \\                                                                       land"},
};

const std::vector<Row> CASTLE_CLOUDS = {
    {47, 77, 0, "                                               ________                     /"},
    {6, 76, 0, "      ________                                ( (    ) )                   /"},
    {5, 75, 0, "     ( (    ) )                   ________   (_(_cloud__)                 /"},
    {4, 43, 0, "    (_(_cloud__)                 ( (    ) )"},
    {32, 44, 0, "                                (_(_cloud__)"},
};

const std::vector<Row> CASTLE_HERO = {
    {2, 46, 8, "  _                              _____        "},
    {1, 46, 5, " o.o                          ___|   |___     "},
    {1, 43, 2, " /|\\                       _|__       __|  "},
    {2, 44, 0, "  |                        |    enemy     _|"},
    {1, 45, 0, " / \\                     ____|  castle    __|"},
};

const std::vector<Row> ARENA_ALIVE = {
    {2, 54, 51, "  _                                                   "},
    {1, 54, 6, " o.o                                      ______      "},
    {1, 59, 0, " /|\\  <---you                            | 0 0 |) <---enemy"},
    {2, 53, 5, "  |                                      |#####|     "},
    {1, 53, 49, " / \\                                                 "},
};

const std::vector<Row> ARENA_DEFEATED = {
    ARENA_ALIVE[0],
    ARENA_ALIVE[1],
    {1, 59, 0, " /|\\  <---you                            | x x |) <---enemy"},
    {2, 53, 5, "  |                                      |-----|     "},
    ARENA_ALIVE[4],
};

const std::string SKY(8, '\n');
const std::string GROUND(80, '=');

std::string landscape(const std::vector<Row>& clouds, const std::vector<Row>& ground_row_figures)
{
    return lines(SUN) + lines(clouds) + SKY + lines(ground_row_figures) + GROUND;
}

std::vector<std::string> terminal_rows(const std::string& scene)
{
    std::vector<std::string> rows;
    std::string::size_type start = 0, end;
    while ((end = scene.find('\n', start)) != std::string::npos) {
        rows.push_back(rtrim(scene.substr(start, end - start)));
        start = end + 1;
    }
    rows.push_back(scene.substr(start));  // the ground row, which has no line end
    return rows;
}

std::string strike_menu(const char* middle)
{
    return std::string("\n\n") + "for strike: \n" + "  - head, input [1]\n" + "  - body, input [2]\n" +
           middle + "--> ";
}

std::string status_line(int player_life, int enemy_life)
{
    // "your life:", two spaces, the value; 27 spaces; "enemy life: ", the value; an empty row.
    return "your life:  " + std::to_string(player_life) + std::string(27, ' ') +
           "enemy life: " + std::to_string(enemy_life) + "\n\n";
}

}  // namespace

const std::string CLEAR = "\x1b[H\x1b[2J";
const std::string FIELD_PROMPT = "for go to right input '2'; for go to left input '1' [for exit 'q']\n";
const std::string CASTLE_PROMPT = "for turn back input '1', for go to castle input '2' -->";
const std::string CONTROL_SCREEN = "control: \nfor exit press any key";
// "1" on the field; seven strikes, "q" and a tab-led line among them; Enter on the victory screen.
const std::string FIGHT_INPUT = "1\n1\n2\n3\nq\nx\n \t1\n2\n\n";

std::string rtrim(const std::string& text)
{
    std::string::size_type end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

std::string field_scene() { return landscape(FIELD_CLOUDS, FIELD_HERO); }
std::string castle_scene() { return landscape(CASTLE_CLOUDS, CASTLE_HERO); }
std::vector<std::string> field_rows() { return terminal_rows(field_scene()); }
std::vector<std::string> castle_rows() { return terminal_rows(castle_scene()); }

std::string battle_opening()
{
    return "your under atack!\n" + std::string(34, '=') + "\n" + std::string(4, '\n') + "your life: 100" +
           std::string(27, ' ') + "enemy life: 40\n\n" + lines(ARENA_ALIVE) +
           strike_menu("  - middle, input [3]\n");
}

std::string battle_round(int player_life, int enemy_life)
{
    return std::string(6, '\n') + "\a" + status_line(player_life, enemy_life) + lines(ARENA_ALIVE) +
           strike_menu("  - middle, input [any key]\n");
}

std::string battle_victory(int experience, int player_life, int enemy_life)
{
    return "you win! [:\nexp : " + std::to_string(experience) + " / 50\n" + std::string(5, '\n') +
           status_line(player_life, enemy_life) + lines(ARENA_DEFEATED) +
           "\nfor continue your quest press enter\n";
}

std::string whole_fight(int experience_after)
{
    const int rounds[6][2] = {{96, 34}, {92, 28}, {88, 22}, {84, 16}, {80, 10}, {76, 4}};
    std::string out = CLEAR + battle_opening();
    for (const auto& lives : rounds)
        out += CLEAR + battle_round(lives[0], lives[1]);
    return out + CLEAR + battle_victory(experience_after, 72, -2) + CLEAR;
}
