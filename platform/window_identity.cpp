// SPDX-License-Identifier: MIT
// platform: WM_CLASS and _NET_WM_ICON through Xlib, on the window behind the GLX drawable.
#include "platform/window_identity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// larger than any icon a desktop asks for; keeps a damaged header from a huge allocation
constexpr unsigned long kLargestIconSide = 1024;

std::vector<uint8_t> readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<unsigned long> windowIconFromPam(const std::vector<uint8_t>& bytes)
{
    const std::string endMark = "ENDHDR\n";
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.find(endMark);
    if (text.rfind("P7\n", 0) != 0 || end == std::string::npos)
        return {};
    std::istringstream header(text.substr(3, end - 3));
    unsigned long width = 0, height = 0, depth = 0, maxval = 0;
    std::string key, tupleType;
    while (header >> key) {
        if (key == "WIDTH")
            header >> width;
        else if (key == "HEIGHT")
            header >> height;
        else if (key == "DEPTH")
            header >> depth;
        else if (key == "MAXVAL")
            header >> maxval;
        else if (key == "TUPLTYPE")
            header >> tupleType;
        else
            return {};
    }
    size_t pixels = end + endMark.size();
    if (width == 0 || height == 0 || width > kLargestIconSide || height > kLargestIconSide ||
        depth != 4 || maxval != 255 || tupleType != "RGB_ALPHA" ||
        bytes.size() - pixels != width * height * 4)
        return {};
    std::vector<unsigned long> icon{width, height};
    icon.reserve(2 + width * height);
    for (size_t i = pixels; i < bytes.size(); i += 4)
        icon.push_back((unsigned long)bytes[i + 3] << 24 | (unsigned long)bytes[i] << 16 |
                       (unsigned long)bytes[i + 1] << 8 | bytes[i + 2]);
    return icon;
}

void setWindowIdentity()
{
    Display* display = glXGetCurrentDisplay();
    Window window = glXGetCurrentDrawable();
    if (!display || !window)
        return;
    char name[] = "vendettix";
    char className[] = "Vendettix";
    XClassHint hint{name, className};
    XSetClassHint(display, window, &hint);

    // format 32 properties travel as longs, whatever a long's size
    std::vector<unsigned long> icon = windowIconFromPam(readFile(kWindowIconFile));
    if (!icon.empty()) {
        Atom netWmIcon = XInternAtom(display, "_NET_WM_ICON", False);
        XChangeProperty(display, window, netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(icon.data()), int(icon.size()));
    }
    XFlush(display);
}
