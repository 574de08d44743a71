// SPDX-License-Identifier: MIT
// platform: redisplay requests, counted and forwarded to whatever the shell installed.
#include "platform/redisplay.h"

static long sRequests = 0;
static void (*sHandler)() = nullptr;

void requestRedisplay()
{
    ++sRequests;
    if (sHandler)
        sHandler();
}

long redisplayRequestCount() { return sRequests; }
void resetRedisplayRequestCount() { sRequests = 0; }
void setRedisplayHandler(void (*handler)()) { sHandler = handler; }
