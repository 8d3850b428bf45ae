// SPDX-License-Identifier: MIT
// The least a C++ program can do before its first prompt: start, write one line, end.
#include <cstdio>

int main()
{
    std::fputs("for go to right input '2'; for go to left input '1' [for exit 'q']\n", stdout);
    return 0;
}
