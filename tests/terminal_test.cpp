// SPDX-License-Identifier: MIT
// The game in a real 80x24 terminal: wrapping, clearing, the bell, and where the cursor waits.
#include "pipe_driver.h"
#include "screens.h"
#include "terminal_driver.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace {

TEST(Terminal, TheFieldFillsTheScreenAndThePromptWaitsBelowIt)
{
    const Rows field = rows_of(field_screen());
    Terminal game;
    ASSERT_EQ(game.wait_for(field), field);
    EXPECT_EQ(game.screen()[21], std::string(80, '='));
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));

    game.type("q");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), Rows()) << "q leaves a cleared screen";
}

TEST(Terminal, TheControlScreenWaitsForOneCharacter)
{
    Terminal game({"go"});
    ASSERT_EQ(game.wait_for(rows_of(CONTROL_SCREEN)), rows_of(CONTROL_SCREEN));
    EXPECT_EQ(game.cursor(), std::make_pair(22, 1));
    // "a" answers the wait; "b" reaches the field prompt, which clears and draws the field again.
    game.type("ab");
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));
}

TEST(Terminal, FightScreensKeepTheirRowsAndOnlyRoundsRing)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
    game.reset_bell();
    game.type("1");
    const Rows opening = rows_of(battle_opening()), round = rows_of(battle_round(96, 34));
    ASSERT_EQ(game.wait_for(opening), opening);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_FALSE(game.bell_rang());

    game.type("2");
    ASSERT_EQ(game.wait_for(round), round);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_TRUE(game.bell_rang());

    for (const char* strike : {"1", "1", "1", "1", "1"})
        game.type(strike);
    ASSERT_EQ(game.wait_for(rows_of(battle_round(76, 4))), rows_of(battle_round(76, 4)));
    game.reset_bell();
    game.type("1");
    const Rows victory = rows_of(battle_victory(8, 72, -2));
    ASSERT_EQ(game.wait_for(victory), victory);
    EXPECT_EQ(game.screen()[7].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(0, 16));
    EXPECT_FALSE(game.bell_rang());

    game.type("");
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
}

TEST(Terminal, TheCastleStandsInTheCornerWithThePromptBelowIt)
{
    const Rows castle = rows_of(castle_screen());
    Terminal game;
    game.type("2");
    ASSERT_EQ(game.wait_for(castle), castle);
    EXPECT_EQ(game.cursor(), std::make_pair(55, 22));

    // Giving up ends the game and leaves the castle, the prompt and the answer on the screen.
    game.type("x");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), rows_of(castle_screen() + "x"));
}

// Stopped with Ctrl-Z and continued with fg, the game draws its screen again, typed echo and all
// but without the bell, and waits at the same place; continued with bg, it leaves the shell alone.
// A terminal that was resized, or written over while the game was stopped, is drawn again too.
TEST(Terminal, CtrlZAndFgDrawTheScreenAgain)
{
    // The game is started from a shell after `before`, in a terminal of `size`, and given `line`
    // once it waits at its first prompt, so the echo lands where a player's would (nothing is typed
    // when `before` pipes its input). Then `upset` acts, and Ctrl-Z and `resume` follow, unless
    // `resume` is empty: the shell's command lines, one a line, up to fg, or none if the game is left
    // in the background. `shown` and `cursor` must be on the screen then, and `then` may check more.
    struct Stop {
        const char* name;
        std::vector<std::string> args;
        std::string line;
        Rows shown;
        std::pair<int, int> cursor = {0, 23};
        std::string before = "";
        const char* resume = "fg";
        std::pair<int, int> size = {80, 24};
        std::function<void(Terminal&)> upset = nullptr, then = nullptr;
        Terminal::Start start = Terminal::from_shell;
    };
    // The last `count` rows: what the terminal keeps of `rows` once the earlier ones scrolled away.
    auto last = [](Rows rows, std::size_t count) {
        return Rows(rows.end() - std::min(rows.size(), count), rows.end());
    };
    const Rows field = rows_of(field_screen()), round = rows_of(battle_round(96, 34));
    // Lines of 4,000 tabs, each echoed as one row, the first led by Ctrl-K, which echoes as "^K".
    const std::string tabs(4000, '\t');
    // The screen after many of them and a last line of Ctrl-K alone, in a terminal of `rows`.
    auto last_typed = [](std::size_t rows) {
        Rows shown(rows - 2);
        shown.push_back("^K");
        return shown;
    };
    auto long_lines = [&](int count) {
        std::string lines = "\v" + tabs;
        for (int line = 1; line < count; ++line)
            lines += "\n" + tabs;
        return lines;
    };
    // Lines of 4,000 Ctrl-K, each kept as twice as many characters (^K): more than the record holds.
    std::string ctrl_k_lines = std::string(4000, '\v'), ctrl_k_row;
    for (int line = 1; line < 140; ++line)
        ctrl_k_lines += "\n" + std::string(4000, '\v');
    for (int column = 0; column < 80; column += 2)
        ctrl_k_row += "^K";
    // Stopped and continued again and again, then stopped while another program writes, and continued.
    auto storm = [](Terminal& game) {
        int pid = game.game_pid();
        for (int round = 0; round < 200; ++round) {
            kill(pid, SIGSTOP);
            kill(pid, SIGCONT);
            std::this_thread::sleep_for(std::chrono::microseconds(500));  // time to start drawing
        }
        kill(pid, SIGSTOP);
        game.spoil("another program's text\r\n");
        kill(pid, SIGCONT);
    };
    auto clears = [](const std::string& output) {
        std::size_t count = 0;
        for (std::size_t at = output.find(CLEAR); at != std::string::npos; at = output.find(CLEAR, at + 1))
            ++count;
        return count;
    };
    const Rows field_at_60 = rows_of(field_screen(), 60);
    // Once the field's prompt shows at the bottom, whatever stands above it.
    auto field_prompt_below = [&](Terminal& game) {
        game.wait_until([&](const Rows& rows) { return rows.back() == field.back(); });
    };
    // Once the field shows, Enter and the line ends typed before it.
    auto enters_on_field = [&](const char* lines) {
        return [&field, lines](Terminal& game) {
            game.wait_for(field);
            game.type(lines);
        };
    };
    const Stop stops[] = {
        {"in a fight", {}, "12", round, {4, 19}},
        {"at the castle", {}, "2", rows_of(castle_screen()), {55, 22}},
        {"on the field after the control screen",
         {"x"},
         "",
         last(rows_of(CONTROL_SCREEN + std::string("\n") + field_screen()), 23)},
        {"after long typed lines", {}, long_lines(4), last(rows_of(field_screen() + "^K"), 20)},
        {"after many redraws on one line", {}, std::string(20, '3'), field},
        {"with piped input, which the terminal never echoed",
         {"x"},
         "",
         last(rows_of(CONTROL_SCREEN + field_screen()), 23),
         {0, 23},
         "{ echo a; sleep 30; } | "},
        {"continued in the background", {}, "2", rows_of(castle_screen()), {55, 22}, "", "bg"},
        {"continued in the background, then in the foreground", {}, "3", field, {0, 23}, "", "bg\nfg"},
        {"woken in the background by a line typed at the shell",
         {},
         "12",
         round,
         {4, 19},
         "",
         "bg\ntrue\nfg"},
        {"with SIGINT held back by whoever started it, after Ctrl-C",
         {},
         "3",
         field,
         {0, 23},
         "python3 -c 'import os, signal, sys; signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGINT]); "
         "os.execv(sys.argv[1], sys.argv[1:])' ",
         "fg",
         {80, 24},
         [&](Terminal& game) {
             game.wait_for(field);
             game.press("C-c");
         }},
        {"with echo off, which shows nothing typed",
         {"x"},
         "",
         last(rows_of(CONTROL_SCREEN + field_screen()), 23),
         {0, 23},
         "stty -echo; "},
        {"after DEL typed as it is, shown as ^?",
         {"x"},
         "\x16\x7f",
         rows_of(CONTROL_SCREEN + std::string("^?\n") + field_screen()),
         {0, 25},
         "",
         "fg",
         {80, 30},
         field_prompt_below},
        {"after a byte that is not UTF-8, which the terminal shows nothing of",
         {"x"},
         "\xe9",
         rows_of(CONTROL_SCREEN + std::string("\n") + field_screen()),
         {0, 25},
         "",
         "fg",
         {80, 30},
         field_prompt_below},
        {"with as many rows as the terminal has, after Enters that scrolled the screen",
         {},
         "12",
         Rows(round.begin() + 2, round.end()),
         {0, 23},
         "",
         "fg",
         {80, 24},
         [&](Terminal& game) {
             game.wait_for(round);
             for (int enter = 0; enter < 6; ++enter)
                 game.type("");
         }},
        {"grown from 5 rows to 30",
         {},
         "3",
         field,
         {0, 23},
         "",
         "fg",
         {80, 5},
         [](Terminal& game) {
             game.resize({80, 30});
         }},
        {"in a terminal taller than it is wide, after 60 Enters",
         {},
         "3",
         field_at_60,
         {0, static_cast<int>(field_at_60.size()) + 60},
         "",
         "fg",
         {60, 100},
         [&](Terminal& game) {
             game.wait_for(field_at_60);
             game.type(std::string(59, '\n'));
         }},
        {"with standard input made non-blocking by someone else",
         {},
         "2",
         rows_of(castle_screen()),
         {55, 22},
         "python3 -c 'import fcntl, os; fcntl.fcntl(0, fcntl.F_SETFL, os.O_NONBLOCK)'; "},
        // Two Enters after the field's 22 line ends make 24 lines, all of which 24 rows show.
        {"with no height known, as 24 rows",
         {},
         "3",
         field,
         {0, 25},
         "stty rows 0; ",
         "fg",
         {80, 30},
         enters_on_field("\n")},
        {"with no height known, as 24 rows, after three Enters",
         {},
         "3",
         Rows(field.begin() + 1, field.end()),
         {0, 25},
         "stty rows 0; ",
         "fg",
         {80, 30},
         enters_on_field("\n\n")},
        {"with fewer rows than the window, as the terminal says",
         {},
         "3",
         Rows(field.begin() + 5, field.end()),
         {0, 21},
         "stty rows 20; ",
         "fg",
         {80, 30},
         enters_on_field("\n\n")},
        // Giving up at the castle after turning back draws the field below it, without a clear.
        {"with piped input, in 30 rows, after the castle and the field below it",
         {},
         "",
         last(rows_of(castle_screen() + field_screen()), 29),
         {0, 29},
         "{ printf '2\\n1\\n2\\nx\\n'; sleep 30; } | ",
         "fg",
         {80, 30},
         field_prompt_below},
        {"after 140 long lines", {}, long_lines(140) + "\n\v", last_typed(24)},
        {"after 140 lines of Ctrl-K", {}, ctrl_k_lines, Rows(23, ctrl_k_row)},
        {"after 300 long lines in 200 rows, more than the record holds",
         {},
         long_lines(300) + "\n\v",
         last_typed(200),
         {0, 199},
         "",
         "fg",
         {80, 200}},
        // Not stopped by Ctrl-Z: resized, or stopped and continued by signals, after another program
        // wrote over the screen.
        {"resized after another program wrote",
         {},
         "3",
         field,
         {0, 23},
         "",
         "",
         {80, 24},
         [&](Terminal& game) {
             game.wait_for(field);
             game.spoil("another program's text\r\n");
             game.resize({80, 30});
         }},
        // Long lines make each drawing long, so that the storm stops one half done.
        {"after a storm of stops and continues",
         {},
         long_lines(30) + "\n\v",
         last_typed(24),
         {0, 23},
         "",
         "",
         {80, 24},
         [&](Terminal& game) {
             game.wait_for(last_typed(24));
             game.wait_until_read();
             storm(game);
         },
         nullptr,
         Terminal::alone},
        // A resize starts a drawing that the frozen terminal holds up, and another comes meanwhile.
        // The window stays 24 rows high, where 20 line ends and the cursor's row leave 3 free.
        {"after a resize while it draws for another",
         {},
         long_lines(30) + "\n\v",
         last_typed(21),
         {0, 20},
         "",
         "",
         {80, 24},
         [&](Terminal& game) {
             game.wait_for(last_typed(24));
             game.wait_until_read();
             long written = game.game_bytes_written();
             game.freeze(true);
             game.tell_rows(22);
             eventually([&] { return game.game_bytes_written() > written; });
             game.tell_rows(20);
             game.freeze(false);
         },
         nullptr,
         Terminal::alone},
        // Once drawn again, the game goes on as before: each move clears once.
        {"and plays on as before",
         {},
         "3",
         field,
         {0, 23},
         "",
         "fg",
         {80, 24},
         nullptr,
         [&](Terminal& game) {
             for (const char* move : {"3", "3", "q"})
                 game.type(move);
             game.wait_for({"$"});
             EXPECT_EQ(clears(game.output()), 5u) << "a redraw's clear after each move";
         }},
    };
    for (const Stop& stop : stops) {
        Terminal game(stop.args, stop.start, stop.before, stop.size);
        if (stop.before.find('|') == std::string::npos) {
            const std::string first_prompt =
                stop.args.empty() ? rows_of(field_screen()).back() : "for exit press any key";
            game.wait_until([&](const Rows& rows) { return !rows.empty() && rows.back() == first_prompt; });
            game.type(stop.line);
        }
        if (stop.upset) {
            stop.upset(game);
        } else {
            ASSERT_EQ(game.wait_for(stop.shown), stop.shown) << stop.name;
        }
        game.wait_until_read();
        game.reset_bell();
        std::istringstream resume(stop.resume);
        std::string line;
        if (*stop.resume) {
            game.press("C-z");
            game.wait_until([](const Rows& rows) { return !rows.empty() && rows.back().rfind("$", 0) == 0; });
        }
        // Whatever the shell does before fg, the game in the background writes not one byte; once
        // continued there, it stops again, as a read in the background would.
        while (std::getline(resume, line) && line != "fg") {
            long written = game.game_bytes_written();
            game.type(line);
            game.wait_until([](const Rows& rows) { return !rows.empty() && rows.back() == "$"; });
            eventually([&] { return game.game_stopped(); }, 2);
            EXPECT_EQ(game.game_bytes_written(), written)
                << stop.name << ": drawn over the shell after " << line;
        }
        if (*stop.resume && line != "fg")
            continue;
        if (*stop.resume)
            game.type("fg");
        EXPECT_EQ(game.wait_for(stop.shown), stop.shown) << stop.name;
        EXPECT_EQ(game.cursor(), stop.cursor) << stop.name;
        EXPECT_FALSE(game.bell_rang()) << stop.name << ": the drawing again must not ring";
        if (stop.then)
            stop.then(game);
    }
}

// One Ctrl-D is remembered: the fight under way runs to its victory at once, and the field then ends
// the game, leaving the field on the screen.
TEST(Terminal, OneCtrlDEndsTheGame)
{
    Terminal game;
    game.type("1");
    ASSERT_EQ(game.wait_for(rows_of(battle_opening())), rows_of(battle_opening()));
    game.press("C-d");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), rows_of(field_screen()));
}

}  // namespace
