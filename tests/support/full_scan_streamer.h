// SPDX-License-Identifier: MIT
// tests: the streamer's relaxation step as written first, every particle testing all 80
// candidates for its neighbours. It gives exactly what updateStreamer gives; the tests check
// the fast step against it and the benches time one against the other.
#pragma once

#include "streamer/paper_streamer.h"

bool updateStreamerFullScan(PaperStreamer* streamer, float dtTick, bool rollFlying);
