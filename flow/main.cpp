// SPDX-License-Identifier: MIT
#include "../console/console.h"
#include "adventure.h"

namespace {

void show_controls()
{
    write_text("control: \n");
    write_text("for exit press any key");
    wait_char();
}

}  // namespace

int main(int argc, char**)
{
    open_console();
    experience = 0;
    if (argc > 1)
        show_controls();
    roam_field();
    visit_castle();
    return 0;
}
