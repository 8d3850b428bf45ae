// SPDX-License-Identifier: MIT
// Runs the game in a real 80x24 terminal (tmux on a private socket) and reads the screen back.
#pragma once

#include "screens.h"

#include <functional>
#include <map>
#include <string>
#include <utility>

class Terminal {
public:
    // `command` is a shell command line in which @ stands for the game ("@ x", "stty -echo; @",
    // "@ &"). It runs alone in a terminal of `size` (columns, rows), or is typed into an interactive
    // shell there, as a player would start the game (the shell's job control then works: Ctrl-Z, fg).
    enum Start { alone, from_shell };
    explicit Terminal(const std::string& command = "@", Start start = alone,
                      std::pair<int, int> size = {80, 24});
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Types the text and presses Enter; the line reaches the game only then, as on a console.
    void type(const std::string& line);
    // Waits until the game has read all that was typed.
    void wait_until_read(double seconds = 10);
    // Presses one key by its tmux name, such as C-z or C-d.
    void press(const std::string& key) { tmux({"send-keys", "-t", "g", key}); }
    // Writes to the terminal from outside, past the game, as another program may.
    void spoil(const std::string& text);
    void resize(std::pair<int, int> size);
    // Stops the terminal reading what the game writes, so that a drawing cannot end; or lets it read.
    void freeze(bool frozen);
    // Gives the terminal a new height, as stty does, while its window keeps its size.
    void tell_rows(int rows);
    // The game's process (the shell's first child), to signal; what it has read or written in all,
    // as the system counts it ("rchar:", "wchar:"); and whether it is stopped.
    int game_pid();
    long game_io(const std::string& count);
    bool game_stopped();
    // Whether the shell holds the terminal, all its jobs in the background.
    bool shell_in_foreground();
    // Everything written to the terminal since the shell started, escape codes and all.
    std::string output();
    // What the terminal shows, as `rows_of` gives it.
    Rows screen() { return rows_of(tmux({"capture-pane", "-p", "-t", "g"})); }
    // Polls until the screen shows `rows`, or until `done(screen)`, or until the deadline passes;
    // returns the last screen seen.
    Rows wait_for(const Rows& rows, double seconds = 10);
    Rows wait_until(const std::function<bool(const Rows&)>& done, double seconds = 10);
    // Once a row holds `text` (or the last row starts with it), or until the deadline; whether it did.
    bool shows(const std::string& text, bool last_row = false, double seconds = 10);
    // Column and row of the cursor, counted from 0.
    std::pair<int, int> cursor();
    bool bell_rang() { return tmux({"display", "-p", "-t", "g", "#{window_bell_flag}"}) == "1\n"; }
    void reset_bell() { tmux({"kill-session", "-C", "-t", "g"}); }
    // The game's exit status once it has ended alone, or -1 if it is still running at the deadline.
    int exit_status(double seconds = 10);

private:
    std::string tmux(std::vector<std::string> args);
    // What tmux says of the pane, asked once, so that it can be had while the terminal is frozen.
    std::string asked(const std::string& format);
    std::string dir_;
    std::map<std::string, std::string> asked_;
    int game_pid_ = 0;
};
