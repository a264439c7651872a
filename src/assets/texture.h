// The one texture loader shared by every scene object: a BMP file into a texture.
#pragma once

// Reads the BMP file into a texture (linear filtering, repeating) and returns its GL name.
// Prints "Failed to read the bitmap file" and returns 0 when the file cannot be read.
unsigned int loadTexture(const char* textureFile);
