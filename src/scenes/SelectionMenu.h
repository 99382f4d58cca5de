// The look shared by the two selection scenes (difficulty, charge type):
// their backdrop and their framed menu, which differ only in heading and
// height.
#pragma once

class Sprite;
class Sprite_SelectTable;

Sprite* MakeSelectionBackground();
Sprite_SelectTable* MakeSelectionMenu(const char* heading, int y);
