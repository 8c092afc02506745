#pragma once

// The key codes the window handlers work with, as Windows numbers them: letters as their
// upper-case character, digits as themselves, and these.
enum VirtualKey : int {
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
};

// The code of a Qt key; 0 for a key the handlers do not know.
int VirtualKeyCode(int qtKey);
