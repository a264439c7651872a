// The ball mesh shared by all sixteen balls.
#include "assets/ball_model.h"

ObjModel* ballModel = nullptr;
unsigned int ballDisplayList = 0;

void loadBallModel(const char* fileName) {
    ballModel = glmReadOBJ(fileName);
    glmCenterAndScale(ballModel);
    glmBuildFacetNormals(ballModel);
    glmVertexNormals(ballModel, 90.0f);
    ballDisplayList = glmMakeList(ballModel, RENDER_SMOOTH | RENDER_TEXTURE);
}
