// SPDX-License-Identifier: MIT
// The adventure's moves, and the one number that outlives them.
#pragma once

extern int experience;
void add_experience(int points);

// Draws the field and asks where to go until the hero heads right ("2"); the screen is clear then.
void roam_field();
void fight();
void visit_castle();
