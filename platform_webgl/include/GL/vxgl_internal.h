// SPDX-License-Identifier: MIT
// The two entries the window side of the browser build calls into the GL library.
#ifndef VX_WEBGL_VXGL_INTERNAL_H
#define VX_WEBGL_VXGL_INTERNAL_H

#ifdef __cplusplus
extern "C" {
#endif

// Once, right after the WebGL context is made current, before any other GL call that reaches
// WebGL: compiles the shaders, makes the buffers and the bitmaps' atlas. The viewport starts as
// the canvas's drawing buffer. Textures and lists live in that one context: a page makes one.
void vxglInitContext(void);

// Draws whatever is still gathered. Call it before the buffer swap (the page shows the canvas
// when the frame's callback returns) and before reading the canvas from outside the library.
void vxglFlush(void);

#ifdef __cplusplus
}
#endif

#endif
