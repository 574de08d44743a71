// SPDX-License-Identifier: MIT
// The GLU subset the game draws with, for the browser build: the view matrices, projection of
// points to the window and back, and the quadrics (sphere and cylinder, filled).
#ifndef VX_WEBGL_GLU_H
#define VX_WEBGL_GLU_H

#include <GL/gl.h>

#define GLU_FILL                          100012
#define GLU_OUTSIDE                       100020
#define GLU_INSIDE                        100021

#ifdef __cplusplus
extern "C" {
#endif

typedef struct GLUquadric GLUquadric;
typedef GLUquadric GLUquadricObj;

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);
void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
GLint gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model,
                 const GLdouble* proj, const GLint* view, GLdouble* winX, GLdouble* winY,
                 GLdouble* winZ);
GLint gluUnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model,
                   const GLdouble* proj, const GLint* view, GLdouble* objX, GLdouble* objY,
                   GLdouble* objZ);

GLUquadric* gluNewQuadric(void);
void gluDeleteQuadric(GLUquadric* quad);
void gluQuadricDrawStyle(GLUquadric* quad, GLenum draw);
void gluQuadricOrientation(GLUquadric* quad, GLenum orientation);
void gluQuadricTexture(GLUquadric* quad, GLboolean texture);
void gluSphere(GLUquadric* quad, GLdouble radius, GLint slices, GLint stacks);
void gluCylinder(GLUquadric* quad, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                 GLint stacks);

#ifdef __cplusplus
}
#endif

#endif
