// assets: the 3DS model reader. Safe on any input: it never reads or writes past an array and
// every walk ends.
#pragma once
#include <cstdio>

#include "assets/model.h"

class ModelLoader {
public:
    // fills model (expected empty, swapYZ already set) from the file; false when the file cannot
    // be opened or does not start with a primary chunk, after the message box
    bool load(Model& model, const char* fileName);

    FILE* file = nullptr;
};
