// SPDX-License-Identifier: MIT
// platform: the redisplay request the rules and input make; the shell routes it to the window
// toolkit, tests count it.
#pragma once

void requestRedisplay();
// how many requests have been made since start (or since the last reset)
long redisplayRequestCount();
void resetRedisplayRequestCount();
// the shell installs the toolkit's redisplay here; without one a request is only counted
void setRedisplayHandler(void (*handler)());
