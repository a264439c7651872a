// The game shell: start-up, the display, reshape and menu callbacks, and the program-wide state.
#pragma once

// The two GLUT calls the tests watch: the game makes them through these, a test may replace them.
extern void (*postRedisplay)();
extern void (*swapBuffers)();

// Exits with status 1 and one line on how to run the game under a virtual display when no
// X display can be opened; otherwise returns. Call before glutInit.
void requireDisplay(const char* programPath);

// Loads the overlays' font into `font` and its texture. When the file cannot be read, says once
// on the error stream which file and why, and leaves `font` null.
void loadFont(const char* fileName);

// In sanitized builds, makes the leak check at exit run before the GL driver is unloaded (the
// window buffers it holds would then count as leaked); call once the window exists. Does
// nothing in other builds.
void checkLeaksBeforeTheDriverUnloads();

// Creates every game object in its fixed order, loads the art and sets the fixed GL state.
void init();
void display();
void reshape(int width, int height);
// 0 toggles lighting, 1 shadows, 2 texturing; every value ends with a redisplay request.
void menu(int value);

// Menu values.
constexpr int MENU_TOGGLE_LIGHTING = 0;
constexpr int MENU_TOGGLE_SHADOWS = 1;
constexpr int MENU_TOGGLE_TEXTURING = 2;

// One entry of the right-button menu: its label and the value handed to `menu`.
struct MenuEntry {
    const char* label;
    int value;
};
extern const MenuEntry MENU_ENTRIES[]; // Lighting, Shadows, Texturing
// Creates the menu of MENU_ENTRIES, handled by `menu`, on the right mouse button.
void createMenu();
