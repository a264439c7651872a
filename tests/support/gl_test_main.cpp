// Test main for GL tests: one GLUT window per process (a second glutInit would exit), then gtest.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "support/gl_test_main.h"

// The leak check of the sanitizer runtime; linked in sanitized builds only.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (ctest's discovery) needs no display.
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(GL_TEST_WIDTH, GL_TEST_HEIGHT);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("pool tests");
    glutDisplayFunc([] {});
    glViewport(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    const int result = RUN_ALL_TESTS();
    // Check for leaks while the GL driver is still loaded: once it is gone at exit, the window
    // buffers it holds would be reported as leaked.
    if (__lsan_do_leak_check) __lsan_do_leak_check();
    return result;
}
