// SPDX-License-Identifier: MIT
// The two entries the window side of the browser build calls into the GL library.
#ifndef VX_WEBGL_VXGL_INTERNAL_H
#define VX_WEBGL_VXGL_INTERNAL_H

#ifdef __cplusplus
extern "C" {
#endif

// Once, right after the WebGL context is made current (and again after a new one is made):
// compiles the shaders, makes the buffers and sets the context's state to GL's initial state.
// The viewport starts as the canvas's drawing buffer.
void vxglInitContext(void);

// Draws whatever is still gathered. Call it before the buffer swap (the page shows the canvas
// when the frame's callback returns) and before reading the canvas from outside the library.
void vxglFlush(void);

#ifdef __cplusplus
}
#endif

#endif
