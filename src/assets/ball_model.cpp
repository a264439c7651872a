// The ball mesh shared by all sixteen balls.
#include "assets/ball_model.h"

#include <cstdio>
#include <cstdlib>

ObjModel* ballModel = nullptr;
unsigned int ballDisplayList = 0;

void loadBallModel(const char* fileName) {
    ballModel = glmReadOBJ(fileName);
    // Without triangles every ball would be invisible: the game could not be played.
    if (ballModel->triangleCount == 0) {
        std::fprintf(stderr, "Cannot use the ball model %s: it holds no triangles.\n", fileName);
        std::exit(1);
    }
    glmCenterAndScale(ballModel);
    glmBuildFacetNormals(ballModel);
    glmVertexNormals(ballModel, 90.0f);
    ballDisplayList = glmMakeList(ballModel, RENDER_SMOOTH | RENDER_TEXTURE);
}
