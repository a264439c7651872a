// Room: an open box of brick walls on a crimson floor, around the table in the main view.
#include "render/room.h"

#include <GL/gl.h>

#include <cstring>

#include "render/material.h"

namespace {
constexpr float WALL_UNDER_TEXTURE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float WALL_PLAIN[4] = {1.0f, 0.0f, 1.0f, 1.0f};
constexpr float FLOOR_CRIMSON[4] = {0.65f, 0.06f, 0.15f, 1.0f};
constexpr float ROOM_SPECULAR[4] = {0.75f, 0.75f, 0.75f, 1.0f};
constexpr float ROOM_SHININESS = 75.0f;
constexpr float BRICK_REPEATS = 5.0f; // the brick texture repeats 5 times across and up a wall

// World units: the floor spans x +-110 and z +-132; the walls rise from it to their tops.
struct Wall {
    float normal[3];
    float corners[4][3]; // counter-clockwise seen from inside the room
};
// The wall whose foot runs from (ax, az) to (bx, bz), counter-clockwise seen from inside.
constexpr Wall wall(float nx, float nz, float ax, float az, float bx, float bz) {
    return {{nx, 0, nz},
            {{ax, ROOM_FLOOR_Y, az},
             {bx, ROOM_FLOOR_Y, bz},
             {bx, ROOM_WALL_TOP_Y, bz},
             {ax, ROOM_WALL_TOP_Y, az}}};
}
constexpr Wall WALLS[4] = {
    wall(0, 1, -110, -132, 110, -132),
    wall(1, 0, -110, 132, -110, -132),
    wall(0, -1, 110, 132, -110, 132),
    wall(-1, 0, 110, -132, 110, 132),
};
constexpr float WALL_TEX[4][2] = {
    {0, 0}, {BRICK_REPEATS, 0}, {BRICK_REPEATS, BRICK_REPEATS}, {0, BRICK_REPEATS}};

void drawWall(const Wall& wall) {
    glColor4fv(WALL_PLAIN);
    glBegin(GL_POLYGON);
    glNormal3fv(wall.normal);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(WALL_TEX[i]);
        glVertex3fv(wall.corners[i]);
    }
    glEnd();
}

void drawFloor() {
    setFrontAmbientDiffuse(FLOOR_CRIMSON);
    glColor4fv(FLOOR_CRIMSON);
    glBegin(GL_POLYGON);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-110.0f, ROOM_FLOOR_Y, -132.0f);
    glVertex3f(-110.0f, ROOM_FLOOR_Y, 132.0f);
    glVertex3f(110.0f, ROOM_FLOOR_Y, 132.0f);
    glVertex3f(110.0f, ROOM_FLOOR_Y, -132.0f);
    glEnd();
}
} // namespace

Room::Room() { std::strcpy(textureFile, "Data/brickwall.bmp"); }

void Room::draw(bool lighting, bool, bool texturing, int passFlags) const {
    if (!(passFlags & PASS_MAIN_VIEW)) return;
    if (lighting) {
        enableLitMaterial(texturing ? WALL_UNDER_TEXTURE : WALL_PLAIN, ROOM_SPECULAR,
                          ROOM_SHININESS);
    }
    if (texturing) enableTexture(textureId, lighting);
    for (const Wall& wall : WALLS) drawWall(wall);
    disableTexture();
    drawFloor();
    glDisable(GL_LIGHTING);
}
