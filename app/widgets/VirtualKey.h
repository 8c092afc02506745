#pragma once

// The key codes the window handlers work with: 13 Enter, 27 Esc, 35 End, 36 Home, 37 Left,
// 38 Up, 39 Right, 40 Down, letters as their upper-case character, digits as themselves;
// 0 for every other key.
int VirtualKeyCode(int qtKey);
