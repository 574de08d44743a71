// SPDX-License-Identifier: MIT
// tests: in-process GL context and read-back.
#include "tests/support/gl_fixture.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static int sWindow = 0;

static void noDisplay() {}

// Mesa unloads its driver before the leak checker runs at exit, and the driver's allocations
// then show as leaks from an unknown module that no suppression can name; pinning the driver
// keeps them attributable to it.
static void keepGlDriverLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

void glTestWindow(int width, int height)
{
    if (!sWindow) {
        int argc = 1;
        char name[] = "vx-test";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(width, height);
        glutInitWindowPosition(100, 100);
        sWindow = glutCreateWindow("Mesh display");
        glutDisplayFunc(noDisplay);
        keepGlDriverLoaded();
    } else {
        glutReshapeWindow(width, height);
    }
    glutSetWindow(sWindow);
    glViewport(0, 0, width, height);
    // let the window system settle the size before anyone reads pixels
    for (int i = 0; i < 3; ++i)
        glutMainLoopEvent();
}

Pixels glReadBack()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    Pixels p;
    p.width = viewport[2];
    p.height = viewport[3];
    p.rgb.resize(size_t(p.width) * p.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

std::string savePng(const Pixels& pixels, const std::string& name)
{
    const char* dir = std::getenv("VX_BINARY_DIR");
    std::string base = std::string(dir ? dir : ".") + "/test-shots";
    std::string mkdir = "mkdir -p '" + base + "'";
    if (std::system(mkdir.c_str()) != 0)
        return "";
    std::string ppm = base + "/" + name + ".ppm";
    std::string png = base + "/" + name + ".png";
    FILE* f = std::fopen(ppm.c_str(), "wb");
    if (!f)
        return "";
    std::fprintf(f, "P6\n%d %d\n255\n", pixels.width, pixels.height);
    // PPM is top row first
    for (int y = pixels.height - 1; y >= 0; --y)
        std::fwrite(pixels.at(0, y), 3, pixels.width, f);
    std::fclose(f);
    std::string convert = "convert '" + ppm + "' '" + png + "' && rm -f '" + ppm + "'";
    return std::system(convert.c_str()) == 0 ? png : ppm;
}
