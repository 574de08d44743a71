// SPDX-License-Identifier: MIT
// tests: one step of play as the idle bench times it against the game's: stepPlay's work in
// stepPlay's order, with the streamer's relaxation step that scans every particle
// (full_scan_streamer.h). The frame loop's tests hold it to stepPlay, state for state, so the
// bench cannot go on timing a step the game no longer takes.
#pragma once

void stepPlayFullScan();
