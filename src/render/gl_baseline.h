// The GL state every draw of the frame finds on entry and leaves behind on return.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

// The text's glyphs take their line's colour only when the font texture modulates it.
constexpr GLint BASELINE_TEXTURE_ENV_MODE = GL_MODULATE;
constexpr float BASELINE_LINE_WIDTH = 1.0f; // pixels

// Sets the baseline: depth test on, back faces culled with counter-clockwise ones in front;
// lighting, 2D texturing, blending, the stencil test and colour material tracking off; smooth
// shading; the modelview matrix current; depth, colour and stencil writes on, so that the frame's
// clears reach every buffer; the less-than depth test; modulated textures; one-pixel lines.
// Two parts of it are left as they are: every matrix stack holds its one matrix, and the viewport
// is the whole window's, which reshape sets. The stencil and blend functions are no part of it:
// every draw that turns the stencil test or blending on sets its own.
void setGlBaseline();

// The names of the parts of the current state that differ from the baseline in a window of
// width x height pixels; empty when all hold.
std::vector<std::string> differencesFromGlBaseline(int width, int height);
