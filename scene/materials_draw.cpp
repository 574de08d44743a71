// SPDX-License-Identifier: MIT
// scene: applying the material presets. They are TriNode operations that read no node state;
// the scene calls them on the terrain's first root.
#include <GL/gl.h>

#include "scene/materials.h"
#include "terrain/terrain.h"

static void applyMaterial(const float* preset)
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, preset);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, preset + 4);
    glMaterialfv(GL_FRONT, GL_SPECULAR, preset + 8);
    glMaterialfv(GL_FRONT, GL_SHININESS, preset + 12);
}

void TriNode::applyMaterialMint() const { applyMaterial(gMaterialMint); }
void TriNode::applyMaterialLeafGreen() const { applyMaterial(gMaterialLeafGreen); }
void TriNode::applyMaterialBrown() const { applyMaterial(gMaterialBrown); }
void TriNode::applyMaterialGrey() const { applyMaterial(gMaterialGrey); }
void TriNode::applyMaterialChrome() const { applyMaterial(gMaterialChrome); }
void TriNode::applyMaterialCream() const { applyMaterial(gMaterialCream); }
void TriNode::applyMaterialBlack() const { applyMaterial(gMaterialBlack); }
void TriNode::applyMaterialWater() const { applyMaterial(gMaterialWater); }
void TriNode::applyMaterialWhite() const { applyMaterial(gMaterialWhite); }
