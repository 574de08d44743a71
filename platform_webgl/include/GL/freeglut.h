// SPDX-License-Identifier: MIT
// The window toolkit of the browser build: the calls the game makes, with their usual names and
// values, over the page's canvas (platform_webgl/glut_*.cpp).
#ifndef VX_WEBGL_FREEGLUT_H
#define VX_WEBGL_FREEGLUT_H

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

// display mode bits
#define GLUT_RGB 0x0000
#define GLUT_RGBA 0x0000
#define GLUT_INDEX 0x0001
#define GLUT_SINGLE 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_ACCUM 0x0004
#define GLUT_ALPHA 0x0008
#define GLUT_DEPTH 0x0010
#define GLUT_STENCIL 0x0020
#define GLUT_MULTISAMPLE 0x0080

// mouse buttons and their states
#define GLUT_LEFT_BUTTON 0x0000
#define GLUT_MIDDLE_BUTTON 0x0001
#define GLUT_RIGHT_BUTTON 0x0002
#define GLUT_DOWN 0x0000
#define GLUT_UP 0x0001

// special keys
#define GLUT_KEY_F1 0x0001
#define GLUT_KEY_F2 0x0002
#define GLUT_KEY_F3 0x0003
#define GLUT_KEY_F4 0x0004
#define GLUT_KEY_F5 0x0005
#define GLUT_KEY_F6 0x0006
#define GLUT_KEY_F7 0x0007
#define GLUT_KEY_F8 0x0008
#define GLUT_KEY_F9 0x0009
#define GLUT_KEY_F10 0x000A
#define GLUT_KEY_F11 0x000B
#define GLUT_KEY_F12 0x000C
#define GLUT_KEY_LEFT 0x0064
#define GLUT_KEY_UP 0x0065
#define GLUT_KEY_RIGHT 0x0066
#define GLUT_KEY_DOWN 0x0067
#define GLUT_KEY_PAGE_UP 0x0068
#define GLUT_KEY_PAGE_DOWN 0x0069
#define GLUT_KEY_HOME 0x006A
#define GLUT_KEY_END 0x006B
#define GLUT_KEY_INSERT 0x006C
#define GLUT_KEY_NUM_LOCK 0x006D
#define GLUT_KEY_BEGIN 0x006E
#define GLUT_KEY_DELETE 0x006F
#define GLUT_KEY_SHIFT_L 0x0070
#define GLUT_KEY_SHIFT_R 0x0071
#define GLUT_KEY_CTRL_L 0x0072
#define GLUT_KEY_CTRL_R 0x0073
#define GLUT_KEY_ALT_L 0x0074
#define GLUT_KEY_ALT_R 0x0075

// visibility and window status
#define GLUT_NOT_VISIBLE 0x0000
#define GLUT_VISIBLE 0x0001
#define GLUT_HIDDEN 0x0000
#define GLUT_FULLY_RETAINED 0x0001
#define GLUT_PARTIALLY_RETAINED 0x0002
#define GLUT_FULLY_COVERED 0x0003

// menu status
#define GLUT_MENU_NOT_IN_USE 0x0000
#define GLUT_MENU_IN_USE 0x0001

// glutGet
#define GLUT_WINDOW_X 0x0064
#define GLUT_WINDOW_Y 0x0065
#define GLUT_WINDOW_WIDTH 0x0066
#define GLUT_WINDOW_HEIGHT 0x0067
#define GLUT_WINDOW_DOUBLEBUFFER 0x0073
#define GLUT_INIT_STATE 0x007C
#define GLUT_SCREEN_WIDTH 0x00C8
#define GLUT_SCREEN_HEIGHT 0x00C9
#define GLUT_INIT_WINDOW_X 0x01F4
#define GLUT_INIT_WINDOW_Y 0x01F5
#define GLUT_INIT_WINDOW_WIDTH 0x01F6
#define GLUT_INIT_WINDOW_HEIGHT 0x01F7
#define GLUT_INIT_DISPLAY_MODE 0x01F8
#define GLUT_ACTION_ON_WINDOW_CLOSE 0x01F9
#define GLUT_FULL_SCREEN 0x01FF
#define GLUT_ELAPSED_TIME 0x02BC

// what a closed window does (glutSetOption)
#define GLUT_ACTION_EXIT 0
#define GLUT_ACTION_GLUTMAINLOOP_RETURNS 1
#define GLUT_ACTION_CONTINUE_EXECUTION 2

// the bitmap fonts (their glyphs are generated from the desktop's, see tools/glyph_atlas.cpp)
struct GlutBitmapFont;
extern const struct GlutBitmapFont vxglutBitmapTimesRoman10;
extern const struct GlutBitmapFont vxglutBitmapTimesRoman24;
extern const struct GlutBitmapFont vxglutBitmapHelvetica10;
extern const struct GlutBitmapFont vxglutBitmapHelvetica12;
extern const struct GlutBitmapFont vxglutBitmapHelvetica18;
#define GLUT_BITMAP_TIMES_ROMAN_10 ((void*)&vxglutBitmapTimesRoman10)
#define GLUT_BITMAP_TIMES_ROMAN_24 ((void*)&vxglutBitmapTimesRoman24)
#define GLUT_BITMAP_HELVETICA_10 ((void*)&vxglutBitmapHelvetica10)
#define GLUT_BITMAP_HELVETICA_12 ((void*)&vxglutBitmapHelvetica12)
#define GLUT_BITMAP_HELVETICA_18 ((void*)&vxglutBitmapHelvetica18)

// start-up and the window
void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
void glutInitWindowPosition(int x, int y);
int glutCreateWindow(const char* title);
void glutSetOption(GLenum what, int value);
int glutGet(GLenum what);
void glutMainLoop(void);
void glutPostRedisplay(void);
void glutSwapBuffers(void);
void glutFullScreen(void);
void glutLeaveFullScreen(void);
void glutReshapeWindow(int width, int height);
void glutPositionWindow(int x, int y);

// callbacks
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutKeyboardUpFunc(void (*callback)(unsigned char key, int x, int y));
void glutSpecialFunc(void (*callback)(int key, int x, int y));
void glutSpecialUpFunc(void (*callback)(int key, int x, int y));
void glutMouseFunc(void (*callback)(int button, int state, int x, int y));
void glutMotionFunc(void (*callback)(int x, int y));
void glutIdleFunc(void (*callback)(void));
void glutWindowStatusFunc(void (*callback)(int state));
void glutCloseFunc(void (*callback)(void));
void glutMenuStatusFunc(void (*callback)(int status, int x, int y));

// menus
int glutCreateMenu(void (*callback)(int value));
int glutGetMenu(void);
void glutSetMenu(int menu);
void glutAddMenuEntry(const char* label, int value);
void glutChangeToMenuEntry(int item, const char* label, int value);
void glutRemoveMenuItem(int item);
void glutAttachMenu(int button);

// bitmap text
void glutBitmapCharacter(void* font, int character);
int glutBitmapWidth(void* font, int character);
int glutBitmapLength(void* font, const unsigned char* text);
int glutBitmapHeight(void* font);

// shapes
void glutSolidSphere(double radius, GLint slices, GLint stacks);
void glutWireSphere(double radius, GLint slices, GLint stacks);

#ifdef __cplusplus
}
#endif

#endif
