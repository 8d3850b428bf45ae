// SPDX-License-Identifier: MIT
#include "../console/console.h"
#include "../scenes/scenes.h"
#include "adventure.h"

namespace {

unsigned char ask_where_to_go()
{
    draw_field();
    write_text("for go to right input '2'; for go to left input '1' [for exit 'q']\n");
    unsigned char choice = 0;
    read_choice(choice);
    // Nobody is left to answer: stop here and leave the last screen standing rather than
    // redraw the field forever.
    if (input_exhausted())
        end_process();
    clear_screen();
    return choice;
}

}  // namespace

void roam_field()
{
    for (;;) {
        unsigned char choice = ask_where_to_go();
        if (choice == 'q')
            end_process();
        if (choice == '1')
            fight();
        else if (choice == '2')
            return;
    }
}
