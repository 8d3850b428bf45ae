// SPDX-License-Identifier: MIT
// The game in a real 80x24 terminal: wrapping, clearing, the bell, and where the cursor waits.
#include "pipe_driver.h"
#include "screens.h"
#include "terminal_driver.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace {

const Rows FIELD = rows_of(field_screen()), CASTLE = rows_of(castle_screen());
const Rows ROUND = rows_of(battle_round(96, 34));

// Each game: its command, a line typed at the field (if any), and the screen and cursor where it then
// waits; then a line typed, or a key pressed (C-d), and the screen it leaves at its end, or at its
// next prompt, the field's. Giving up at the castle leaves the castle, the prompt and the answer. One
// Ctrl-D is remembered: the fight under way runs to its victory at once, and the field then ends the
// game. The control screen waits for one character: "a" answers the wait; "b" reaches the field
// prompt, which clears and draws the field again.
TEST(Terminal, EachScreenKeepsItsPlaceAndEachEndLeavesWhatItShould)
{
    struct Game {
        const char* command;
        std::string line;
        Rows shown;
        std::pair<int, int> cursor;
        std::string then;
        Rows left;
        bool ends = true;
    };
    // clang-format off
    for (const Game& play : {Game{"@", "", FIELD, {0, 23}, "q", {}}, {"@", "2", CASTLE, {55, 22}, "x", rows_of(castle_screen() + "x")},
                             {"@", "1", rows_of(battle_opening()), {4, 19}, "C-d", FIELD}, {"@ go", "", rows_of(CONTROL_SCREEN), {22, 1}, "ab", FIELD, false}}) {
        // clang-format on
        Terminal game(play.command);
        if (!play.line.empty())
            game.type(play.line);
        ASSERT_EQ(game.wait_for(play.shown), play.shown);
        EXPECT_EQ(game.cursor(), play.cursor);
        play.then == "C-d" ? game.press(play.then) : game.type(play.then);
        EXPECT_EQ(play.ends ? game.exit_status() : 0, 0);
        ASSERT_EQ(game.wait_for(play.left), play.left);
        EXPECT_EQ(play.ends ? std::make_pair(0, 23) : game.cursor(), std::make_pair(0, 23));
    }
}

TEST(Terminal, FightScreensKeepTheirRowsAndOnlyRoundsRing)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
    game.reset_bell();
    // Each screen: what is typed, its rows and cursor, the row of the life values, and whether it rang.
    struct Screen {
        std::string typed;
        Rows rows;
        std::pair<int, int> cursor;
        std::size_t life_row;
        bool rings;
    };
    // clang-format off
    for (const Screen& screen : {Screen{"1", rows_of(battle_opening()), {4, 19}, 6, false}, {"2", ROUND, {4, 19}, 6, true},
                                 {"1\n1\n1\n1\n1", rows_of(battle_round(76, 4)), {4, 19}, 6, true}, {"1", rows_of(battle_victory(8, 72, -2)), {0, 16}, 7, false}}) {
        // clang-format on
        game.type(screen.typed);
        ASSERT_EQ(game.wait_for(screen.rows), screen.rows);
        EXPECT_EQ(game.screen()[screen.life_row].find("enemy life:"), 41u);
        EXPECT_EQ(game.cursor(), screen.cursor);
        EXPECT_EQ(game.bell_rang(), screen.rings);
        game.reset_bell();
    }
    game.type("");
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
}

// Stopped with Ctrl-Z and continued with fg, the game draws its screen again, typed echo and all
// but without the bell, and waits at the same place; in the background it stops and leaves the
// shell alone. A terminal that was resized, or written over while the game was stopped, is drawn
// again too. Each row: the command that starts the game from a shell; the line typed once it waits
// at its first prompt (nothing where the command pipes its input or sends it to the background);
// what must then be on the screen and where the cursor; the shell's command lines after Ctrl-Z, up
// to fg (none: no Ctrl-Z); the terminal's size; what acts before Ctrl-Z, and what checks after fg.
struct Stop {
    const char* name;
    std::string command, line;
    Rows shown;
    std::pair<int, int> cursor = {0, 23};
    const char* resume = "fg";
    std::pair<int, int> size = {80, 24};
    std::function<void(Terminal&)> upset = nullptr, then = nullptr;
    Terminal::Start start = Terminal::from_shell;
};

// The last `count` rows: what the terminal keeps of `rows` once the earlier ones scrolled away.
Rows last(Rows rows, std::size_t count)
{
    return Rows(rows.end() - std::min(rows.size(), count), rows.end());
}
// Lines of 4,000 tabs, each echoed as one row, the first led by Ctrl-K, which echoes as "^K"; and the
// screen after many of them and a last line of Ctrl-K alone, in a terminal of `rows`.
std::string long_lines(int count)
{
    return std::string("\v").append(repeat(std::string(4000, '\t'), count, "\n"));
}
Rows last_typed(std::size_t rows) { return rows_of(std::string(rows - 2, '\n') + "^K"); }
// Stopped and continued again and again, then stopped while another program writes, and continued.
void storm(Terminal& game)
{
    game.wait_for(last_typed(24));
    game.wait_until_read();
    int pid = game.game_pid();
    for (int round = 0; round < 200; ++round) {
        kill(pid, SIGSTOP);
        kill(pid, SIGCONT);
        std::this_thread::sleep_for(std::chrono::microseconds(500));  // time to start drawing
    }
    kill(pid, SIGSTOP);
    game.spoil("another program's text\r\n");
    kill(pid, SIGCONT);
}
// A resize starts a drawing that the frozen terminal holds up, and another comes meanwhile.
void resized_while_drawing(Terminal& game)
{
    game.wait_for(last_typed(24));
    game.wait_until_read();
    long written = game.game_io("wchar:");
    game.freeze(true);
    game.tell_rows(22);
    eventually([&] { return game.game_io("wchar:") > written; });
    game.tell_rows(20);
    game.freeze(false);
}
// Once the field's prompt shows at the bottom, whatever stands above it; or once the field shows,
// Enter and the line ends typed before it.
void field_prompt_below(Terminal& game) { game.shows(FIELD.back(), true); }
template <int lines>
void enters_on_field(Terminal& game)
{
    game.wait_for(FIELD);
    game.type(std::string(lines, '\n'));
}
void resized_after_another_program(Terminal& game)
{
    game.wait_for(FIELD);
    game.spoil("another program's text\r\n");
    game.resize({80, 30});
}
// Orphaned, the game's stops are discarded: it draws over the shell, and a line typed while the shell
// runs a command that reads nothing makes its read fail, once, rather than spin.
void read_as_an_orphan(Terminal& game)
{
    ASSERT_TRUE(game.shows(FIELD.back()) && eventually([&] { return game.shell_in_foreground(); }));
    game.type("sleep 30");
    game.type("3");
    ASSERT_TRUE(game.shows("stickquest: cannot read standard input: "));  // in glibc's words, or musl's
    ASSERT_TRUE(game.shows("input: Input/output error", false, 0) ||
                game.shows("input: I/O error", false, 0));
    game.press("C-c");  // and the line left unread goes
}
// Continued in the background (not by the shell) with a line waiting, the game is woken by it in its
// wait, and stops itself there; the shell then takes the line (Ctrl-C keeps it: noflsh), and fg
// must draw with nothing to read.
void woken_in_the_background(Terminal& game)
{
    ASSERT_TRUE(eventually([&] { return game.game_stopped(); }));
    game.type("stty noflsh");
    game.type("sleep 30");
    ASSERT_TRUE(eventually([&] { return !game.shell_in_foreground(); }));
    game.type("3");
    kill(game.game_pid(), SIGCONT);
    ASSERT_TRUE(eventually([&] { return game.game_io("wchar:") > 0 && game.game_stopped(); }));
    game.press("C-c");
    ASSERT_TRUE(game.shows("3: command not found") && game.shows("$", true));
}
// Once drawn again, the game goes on as before: each move clears once.
void plays_on(Terminal& game)
{
    for (const char* move : {"3", "3", "q"})
        game.type(move);
    ASSERT_TRUE(game.shows("$", true));
    std::string output = game.output();
    std::size_t clears = 0;
    for (std::size_t at = output.find(CLEAR); at != std::string::npos; at = output.find(CLEAR, at + 1))
        ++clears;
    EXPECT_EQ(clears, 5u) << "a redraw's clear after each move";
}
// Whoever starts the game may have blocked signals: SIGINT stays blocked, the two that the game
// handles itself are its own.
const std::string BLOCKING =
    "python3 -c 'import os, signal as s, sys; s.pthread_sigmask(s.SIG_BLOCK, [s.SIGINT, "
    "s.SIGCONT, s.SIGWINCH]); os.execv(sys.argv[1], sys.argv[1:])' @";

std::vector<Stop> stops()
{
    const Rows field_at_60 = rows_of(field_screen(), 60);
    // 300 lines of 4,095 tabs and a line end: the record keeps the last 256 lines, as many bytes as
    // it can hold, whose redraw leaves the cursor on row 256.
    const std::string full_record = repeat(std::string(4095, '\t'), 300, "\n");
    // clang-format off
    return {
        {"in a fight", "@", "12", ROUND, {4, 19}},
        {"at the castle", "@", "2", CASTLE, {55, 22}},
        {"on the field after the control screen", "@ x", "", last(rows_of(CONTROL_SCREEN + std::string("\n") + field_screen()), 23)},
        {"after long typed lines", "@", long_lines(4), last(rows_of(field_screen() + "^K"), 20)},
        {"after many redraws on one line", "@", std::string(20, '3'), FIELD},
        {"with piped input, which the terminal never echoed", "{ echo a; sleep 30; } | @ x", "", last(rows_of(CONTROL_SCREEN + field_screen()), 23)},
        {"continued in the background", "@", "2", CASTLE, {55, 22}, "bg\njobs -l"},
        {"continued in the background, then in the foreground", "@", "3", FIELD, {0, 23}, "bg\njobs -l\nfg"},
        {"woken in the background by a line typed at the shell", "@", "12", ROUND, {4, 19}, "bg\ntrue\nfg"},
        {"started in the background, after a line typed at the shell", "@ &", "", FIELD, {0, 23}, "jobs -l\ntrue\nfg"},
        {"started in the background, continued there and woken by a line", "@ &", "", FIELD, {0, 23}, "fg", {80, 24}, woken_in_the_background},
        {"started in the background with the controls", "@ x &", "", rows_of(CONTROL_SCREEN), {22, 1}, "jobs -l\nfg"},
        {"started in the background of a group no shell controls", "(@ </dev/tty &)", "", {}, {}, "", {80, 24}, read_as_an_orphan},
        {"with SIGINT, SIGCONT and SIGWINCH held back by whoever started it, after Ctrl-C", BLOCKING, "3", FIELD, {0, 23}, "fg", {80, 24}, [](Terminal& game) { game.wait_for(FIELD); game.press("C-c"); }},
        {"with echo off, which shows nothing typed", "stty -echo; @ x", "", last(rows_of(CONTROL_SCREEN + field_screen()), 23)},
        {"after DEL typed as it is, shown as ^?", "@ x", "\x16\x7f", rows_of(CONTROL_SCREEN + std::string("^?\n") + field_screen()), {0, 25}, "fg", {80, 30}, field_prompt_below},
        {"after a byte that is not UTF-8, which the terminal shows nothing of", "@ x", "\xe9", rows_of(CONTROL_SCREEN + std::string("\n") + field_screen()), {0, 25}, "fg", {80, 30}, field_prompt_below},
        {"with as many rows as the terminal has, after Enters that scrolled the screen", "@", "12", Rows(ROUND.begin() + 2, ROUND.end()), {0, 23}, "fg", {80, 24}, [](Terminal& game) { game.wait_for(ROUND); game.type(std::string(5, '\n')); }},
        {"grown from 5 rows to 30", "@", "3", FIELD, {0, 23}, "fg", {80, 5}, [](Terminal& game) { game.resize({80, 30}); }},
        {"in a terminal taller than it is wide, after 60 Enters", "@", "3", field_at_60, {0, static_cast<int>(field_at_60.size()) + 60}, "fg", {60, 100}, [field_at_60](Terminal& game) { game.wait_for(field_at_60); game.type(std::string(59, '\n')); }},
        {"with standard input made non-blocking by someone else", "python3 -c 'import fcntl, os; fcntl.fcntl(0, fcntl.F_SETFL, os.O_NONBLOCK)'; @", "2", CASTLE, {55, 22}},
        // Two Enters after the field's 22 line ends make 24 lines, all of which 24 rows show.
        {"with no height known, as 24 rows", "stty rows 0; @", "3", FIELD, {0, 25}, "fg", {80, 30}, enters_on_field<1>},
        {"with no height known, as 24 rows, after three Enters", "stty rows 0; @", "3", Rows(FIELD.begin() + 1, FIELD.end()), {0, 25}, "fg", {80, 30}, enters_on_field<2>},
        {"with fewer rows than the window, as the terminal says", "stty rows 20; @", "3", Rows(FIELD.begin() + 5, FIELD.end()), {0, 21}, "fg", {80, 30}, enters_on_field<2>},
        // Giving up at the castle after turning back draws the field below it, without a clear.
        {"with piped input, in 30 rows, after the castle and the field below it", "{ printf '2\\n1\\n2\\nx\\n'; sleep 30; } | @", "", last(rows_of(castle_screen() + field_screen()), 29), {0, 29}, "fg", {80, 30}, field_prompt_below},
        {"after 140 long lines", "@", long_lines(140) + "\n\v", last_typed(24)},
        {"after 140 lines of Ctrl-K", "@", repeat(std::string(4000, '\v'), 140, "\n"), Rows(23, repeat("^K", 40))},
        {"after 300 lines of 4 KiB in 260 rows, more than the record holds", "@", full_record, {}, {0, 256}, "fg", {80, 260}, [](Terminal& game) { eventually([&] { return game.game_io("rchar:") >= 300 * 4096; }, 30); }},
        // Not stopped by Ctrl-Z: resized, or stopped and continued by signals, after another program
        // wrote over the screen. Long lines make each drawing long, so that the storm stops one half
        // done. The window stays 24 rows high, where 20 line ends and the cursor's row leave 3 free.
        {"resized after another program wrote", "@", "3", FIELD, {0, 23}, "", {80, 24}, resized_after_another_program},
        {"resized after another program wrote, with SIGCONT and SIGWINCH held back by whoever started it", BLOCKING, "3", FIELD, {0, 23}, "", {80, 24}, resized_after_another_program},
        {"after a storm of stops and continues", "@", long_lines(30) + "\n\v", last_typed(24), {0, 23}, "", {80, 24}, storm, nullptr, Terminal::alone},
        {"after a resize while it draws for another", "@", long_lines(30) + "\n\v", last_typed(21), {0, 20}, "", {80, 24}, resized_while_drawing, nullptr, Terminal::alone},
        {"and plays on as before", "@", "3", FIELD, {0, 23}, "fg", {80, 24}, nullptr, plays_on},
    };
    // clang-format on
}

void PrintTo(const Stop& stop, std::ostream* out) { *out << stop.name; }

class CtrlZAndFg : public testing::TestWithParam<Stop> {};

TEST_P(CtrlZAndFg, DrawTheScreenAgain)
{
    const Stop& stop = GetParam();
    Terminal game(stop.command, stop.start, stop.size);
    bool in_background = stop.command.find('&') != std::string::npos;
    if (stop.command.find('|') == std::string::npos && !in_background) {
        bool controls = stop.command.find("@ x") != std::string::npos;
        ASSERT_TRUE(game.shows(
            controls ? "for exit press any key" : rows_of(field_screen(), stop.size.first).back(), true));
        game.type(stop.line);
    }
    if (stop.upset) {
        ASSERT_NO_FATAL_FAILURE(stop.upset(game));
    } else if (!in_background) {
        ASSERT_EQ(game.wait_for(stop.shown), stop.shown);
    }
    game.wait_until_read();
    game.reset_bell();
    // Started in the background, the game stops before it draws anything over the shell.
    if (in_background && !stop.upset) {
        ASSERT_TRUE(eventually([&] { return game.game_stopped(); })) << "not stopped in the background";
        EXPECT_EQ(game.game_io("wchar:"), 0) << "drawn over the shell";
    } else if (*stop.resume && !in_background) {
        game.press("C-z");
        ASSERT_TRUE(game.shows("$", true));
    }
    // Whatever the shell does before fg, the game in the background is stopped and writes not one
    // byte; the shell reports it stopped as a read in the background would.
    std::istringstream resume(stop.resume);
    std::string line;
    while (std::getline(resume, line) && line != "fg") {
        long written = game.game_io("wchar:");
        game.type(line);
        ASSERT_TRUE(game.shows("$", true)) << line;
        ASSERT_TRUE(eventually([&] { return game.game_stopped(); })) << "not stopped after " << line;
        ASSERT_EQ(game.game_io("wchar:"), written) << "drawn over the shell after " << line;
        if (line == "jobs -l") {
            ASSERT_TRUE(game.shows("Stopped (tty input)")) << "the shell does not report a stop for input";
        }
    }
    // Rows with neither a stop nor anything to show end with what `upset` checked.
    if ((*stop.resume && line != "fg") || (!*stop.resume && stop.shown.empty()))
        return;
    if (*stop.resume)
        game.type("fg");
    ASSERT_EQ(game.wait_for(stop.shown), stop.shown);
    eventually([&] { return game.cursor() == stop.cursor; });  // a long drawing may still be under way
    EXPECT_EQ(game.cursor(), stop.cursor);
    EXPECT_FALSE(game.bell_rang()) << "the drawing again must not ring";
    if (stop.then)
        stop.then(game);
}

std::string test_name(const testing::TestParamInfo<Stop>& row)
{
    std::string name;
    for (const char* c = row.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Terminal, CtrlZAndFg, testing::ValuesIn(stops()), test_name);

}  // namespace
