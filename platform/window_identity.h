// SPDX-License-Identifier: MIT
// platform: how a desktop recognises the game's window: its class (matched against the
// launcher's StartupWMClass) and its icon.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// the icon file the asset generator writes into the data directory
constexpr const char* kWindowIconFile = "vendettix-icon.pam";

// a PAM image (P7, RGB_ALPHA, depth 4, maxval 255) as _NET_WM_ICON wants it: width, height, then
// one 0xAARRGGBB value a pixel, top row first; empty if the bytes are anything else
std::vector<unsigned long> windowIconFromPam(const std::vector<uint8_t>& bytes);
// on the current GL context's window: WM_CLASS "vendettix"/"Vendettix", and _NET_WM_ICON from
// the icon file in the working directory when it is there and sound
void setWindowIdentity();
