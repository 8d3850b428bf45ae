// Runs the game in a real 80x24 terminal (tmux on a private socket) and reads the screen back.
#pragma once

#include <string>
#include <utility>
#include <vector>

std::vector<std::string> without_blank_tail(std::vector<std::string> rows);

class Terminal {
public:
    explicit Terminal(const std::vector<std::string>& args = {});
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Types the text and presses Enter; the line reaches the game only then, as on a console.
    void type(const std::string& line);
    // The 24 rows with their trailing spaces trimmed.
    std::vector<std::string> screen();
    // Polls until the screen shows `rows` from the top and nothing below them, or the deadline
    // passes; returns the last screen seen without its empty bottom rows, so a failure shows it.
    std::vector<std::string> wait_for(const std::vector<std::string>& rows, double seconds = 5);
    // Column and row of the cursor, counted from 0.
    std::pair<int, int> cursor();
    bool bell_rang();
    void reset_bell();
    // The game's exit status once it has ended, or -1 if it is still running at the deadline.
    int exit_status(double seconds = 5);

private:
    std::string tmux(const std::vector<std::string>& args);
    std::string dir_;
};
