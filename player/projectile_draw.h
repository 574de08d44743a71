// player: drawing of the rolls in flight, the eggs and their splats, and the owner's figure.
#pragma once

void drawRolls();
void drawRollModel(float radius, float length);
void drawEggs();
// draws the owner and, right after, decides whether she sees the player
void drawOwner();
