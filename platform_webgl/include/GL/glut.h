// SPDX-License-Identifier: MIT
#include <GL/freeglut.h>
