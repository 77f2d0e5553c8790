// The screen areas that answer the mouse, in client coordinates. All bounds are strict:
// the board's outer grid lines belong to no square.
#pragma once

struct BoardSquare {
    bool onBoard = false;
    int column = 0;
    int row = 0;
};

inline BoardSquare BoardSquareAt(int x, int y) {
    if (x > 10 && x < 470 && y > 10 && y < 470) {
        return {true, (x - 10) / 20, (y - 10) / 20};
    }
    return {};
}

inline bool InButtonColumn(int x) { return x > 480 && x < 630; }
inline bool InMenuButton(int x, int y) { return InButtonColumn(x) && y > 18 && y < 67; }
inline bool InStartStopButton(int x, int y) { return InButtonColumn(x) && y > 415 && y < 465; }
