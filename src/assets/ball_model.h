// The shared ball mesh: read once at start-up and compiled into one display list.
#pragma once

#include "assets/glm.h"

extern ObjModel* ballModel;          // kept until the program ends
extern unsigned int ballDisplayList; // GL display list of the unit ball, 0 until loaded

// Reads the mesh, centres it and scales it to span -1..1, gives it smooth normals (90 degree
// crease) and compiles it with normals and texture coordinates. Needs a current GL context;
// ends the process with status 1 when the mesh or its material library cannot be read, or when
// the mesh holds no triangles.
void loadBallModel(const char* fileName);
