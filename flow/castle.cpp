// SPDX-License-Identifier: MIT
#include "../console/console.h"
#include "../scenes/scenes.h"
#include "adventure.h"

namespace {

unsigned char ask_at_castle()
{
    unsigned char answer = 0;
    draw_castle();
    write_text("for turn back input '1', for go to castle input '2' -->");
    read_choice(answer);
    return answer;
}

}  // namespace

// Every pass of the loop is one visit, nested in the one before; nothing grows with the depth.
//
// A visit opened by "2" at the castle returns only to let its outer visit return too, so it needs
// no place of its own to come back to. A visit that turns back ("1") never returns, so whatever
// waited for it is unreachable from then on. The one return point that can still be reached is
// therefore the most recent return journey, if the player has turned back at all: a later visit
// that gives up hands control to it, and the field is drawn again without a clear. All return
// journeys behave alike, so the same loop serves as each of them.
void visit_castle()
{
    bool turned_back = false;
    for (;;) {
        unsigned char answer = ask_at_castle();
        if (answer == '2') {
            clear_screen();
            continue;
        }
        if (answer == '1') {
            clear_screen();
            turned_back = true;
        } else if (!turned_back) {
            return;
        }
        roam_field();
    }
}
