// SPDX-License-Identifier: MIT
// Runs the game in a real 80x24 terminal (tmux on a private socket) and reads the screen back.
#pragma once

#include "screens.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class Terminal {
public:
    // The game alone in a terminal of `size` (columns, rows), or typed as a command into an
    // interactive shell there, as a player would start it (the shell's job control then works:
    // Ctrl-Z, fg). `before` stands before the game on its command line: "stty -echo; ", or a
    // command and "| " to pipe its output into the game.
    enum Start { alone, from_shell };
    explicit Terminal(const std::vector<std::string>& args = {}, Start start = alone,
                      const std::string& before = "", std::pair<int, int> size = {80, 24});
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Types the text and presses Enter; the line reaches the game only then, as on a console.
    void type(const std::string& line);
    // Waits until the game has read all that was typed.
    void wait_until_read(double seconds = 5);
    // Presses one key by its tmux name, such as C-z or C-d.
    void press(const std::string& key);
    // Writes to the terminal from outside, past the game, as another program may.
    void spoil(const std::string& text);
    void resize(std::pair<int, int> size);
    // Stops the terminal reading what the game writes, so that a drawing cannot end; or lets it read.
    void freeze(bool frozen);
    // Gives the terminal a new height, as stty does, while its window keeps its size.
    void tell_rows(int rows);
    // The game's process, to signal; what it has written in all, as the system counts it; and
    // whether it is stopped.
    int game_pid();
    long game_bytes_written();
    bool game_stopped();
    // Everything written to the terminal since the shell started, escape codes and all.
    std::string output();
    // What the terminal shows, as `rows_of` gives it.
    Rows screen();
    // Polls until the screen shows `rows`, or until `done(screen)`, or until the deadline passes;
    // returns the last screen seen.
    Rows wait_for(const Rows& rows, double seconds = 5);
    Rows wait_until(const std::function<bool(const Rows&)>& done, double seconds = 5);
    // Column and row of the cursor, counted from 0.
    std::pair<int, int> cursor();
    bool bell_rang();
    void reset_bell();
    // The game's exit status once it has ended, or -1 if it is still running at the deadline.
    int exit_status(double seconds = 5);

private:
    std::string tmux(const std::vector<std::string>& args);
    std::string asked(std::string& answer, const std::string& format);
    std::string dir_, tty_, server_pid_, shell_pid_;
    int game_pid_ = 0;
};
