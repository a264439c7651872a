// The least a GLUT game can do: the game's window and display mode, full screen, one grey clear
// per frame. pool-startup-bench measures it beside the game to show what the GL driver alone
// costs at start-up.
#include <GL/freeglut.h>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(argv[0]);
    glutFullScreen();
    glutDisplayFunc([] {
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glutSwapBuffers();
    });
    glutMainLoop();
    return 0;
}
