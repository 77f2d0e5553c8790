// The dialog face "Vorla Sans" at 8 points (96 dpi): a 13-pixel cell, 11 pixels above
// the baseline, capitals 8 pixels high, and widths that average six pixels over the
// letters, so that dialog templates laid out in dialog units get the rectangles they were
// drawn for. Printable ASCII, Latin-1 and Latin Extended-A; accented letters are composed
// from a base letter and a mark.
#include <algorithm>
#include <stdexcept>

#include "faces.h"

namespace art {

namespace {

// Grids start at cell row 2, the top of the tall letters: capitals occupy grid rows 1..8,
// small letters rows 3..8, descenders rows 9..10.
constexpr int GRID_TOP = 2;
constexpr int CELL = 13;

struct Drawn {
    char32_t code;
    std::string_view grid;
    int adjust = 0;  // added to the advance of grid width + 1
};

const Drawn ASCII[] = {
    {U' ', R"(
..)"},
    {U'!', R"(
.
#
#
#
#
#
#
.
#)"},
    {U'"', R"(
...
#.#
#.#
#.#)"},
    {U'#', R"(
.....
.....
.#.#.
#####
.#.#.
.#.#.
#####
.#.#.)"},
    {U'$', R"(
..#..
.###.
#.#.#
#.#..
.###.
..#.#
#.#.#
.###.
..#..)"},
    {U'%', R"(
.......
.......
.#....#
#.#..#.
.#..#..
...#...
..#..#.
.#..#.#
#....#.)"},
    {U'&', R"(
......
.##...
#..#..
#..#..
.##...
#..#.#
#...#.
#...#.
.###.#)"},
    {U'\'', R"(
.
#
#
#)"},
    // The ends of the bracket reach into the gap, where no small letter has ink.
    {U'(', R"(
..#
.#.
.#.
#..
#..
#..
#..
#..
.#.
.#.
..#)",
     -1},
    {U')', R"(
#..
.#.
.#.
..#
..#
..#
..#
..#
.#.
.#.
#..)"},
    {U'*', R"(
.....
..#..
#.#.#
.###.
#.#.#
..#..)"},
    {U'+', R"(
.....
.....
.....
..#..
..#..
#####
..#..
..#..)"},
    {U',', R"(
.
.
.
.
.
.
.
.
#
#)"},
    {U'-', R"(
...
...
...
...
...
###)"},
    {U'.', R"(
.
.
.
.
.
.
.
.
#)"},
    {U'/', R"(
...#
...#
..#.
..#.
..#.
.#..
.#..
.#..
#...
#...)"},
    {U'0', R"(
.....
.###.
#...#
#...#
#...#
#...#
#...#
#...#
.###.)"},
    {U'1', R"(
.....
..#..
.##..
#.#..
..#..
..#..
..#..
..#..
..#..)"},
    {U'2', R"(
.....
.###.
#...#
....#
...#.
..#..
.#...
#....
#####)"},
    {U'3', R"(
.....
.###.
#...#
....#
..##.
....#
....#
#...#
.###.)"},
    {U'4', R"(
.....
...#.
..##.
.#.#.
#..#.
#####
...#.
...#.
...#.)"},
    {U'5', R"(
.....
#####
#....
#....
####.
....#
....#
#...#
.###.)"},
    {U'6', R"(
.....
..##.
.#...
#....
####.
#...#
#...#
#...#
.###.)"},
    {U'7', R"(
.....
#####
....#
...#.
...#.
..#..
..#..
.#...
.#...)"},
    {U'8', R"(
.....
.###.
#...#
#...#
.###.
#...#
#...#
#...#
.###.)"},
    {U'9', R"(
.....
.###.
#...#
#...#
#...#
.####
....#
...#.
.##..)"},
    {U':', R"(
.
.
.
#
.
.
.
.
#)"},
    {U';', R"(
..
..
..
.#
..
..
..
..
.#
#.)"},
    {U'<', R"(
....
....
...#
..#.
.#..
#...
.#..
..#.
...#)"},
    {U'=', R"(
.....
.....
.....
.....
#####
.....
#####)"},
    {U'>', R"(
....
....
#...
.#..
..#.
...#
..#.
.#..
#...)"},
    {U'?', R"(
.....
.###.
#...#
....#
...#.
..#..
..#..
.....
..#..)"},
    {U'@', R"(
.........
..#####..
.#.....#.
#..##.#.#
#.#..##.#
#.#...#.#
#.#..##.#
#..##.##.
.#.......
..#####..)"},
    {U'A', R"(
.......
...#...
..#.#..
..#.#..
.#...#.
.#...#.
#######
#.....#
#.....#)"},
    {U'B', R"(
.....
####.
#...#
#...#
####.
#...#
#...#
#...#
####.)"},
    {U'C', R"(
......
..###.
.#...#
#.....
#.....
#.....
#.....
.#...#
..###.)"},
    {U'D', R"(
......
####..
#...#.
#....#
#....#
#....#
#....#
#...#.
####..)"},
    {U'E', R"(
.....
#####
#....
#....
####.
#....
#....
#....
#####)"},
    {U'F', R"(
.....
#####
#....
#....
####.
#....
#....
#....
#....)"},
    {U'G', R"(
......
..###.
.#...#
#.....
#.....
#..###
#....#
.#...#
..###.)"},
    {U'H', R"(
......
#....#
#....#
#....#
######
#....#
#....#
#....#
#....#)"},
    {U'I', R"(
.
#
#
#
#
#
#
#
#)"},
    {U'J', R"(
....
...#
...#
...#
...#
...#
...#
#..#
.##.)"},
    {U'K', R"(
.....
#...#
#..#.
#.#..
##...
##...
#.#..
#..#.
#...#)"},
    {U'L', R"(
....
#...
#...
#...
#...
#...
#...
#...
####)"},
    {U'M', R"(
.......
#.....#
##...##
#.#.#.#
#..#..#
#.....#
#.....#
#.....#
#.....#)"},
    {U'N', R"(
......
#....#
##...#
#.#..#
#.#..#
#..#.#
#..#.#
#...##
#....#)"},
    {U'O', R"(
......
..##..
.#..#.
#....#
#....#
#....#
#....#
.#..#.
..##..)"},
    {U'P', R"(
.....
####.
#...#
#...#
#...#
####.
#....
#....
#....)"},
    {U'Q', R"(
......
..##..
.#..#.
#....#
#....#
#....#
#..#.#
.#..#.
..##.#)"},
    {U'R', R"(
.....
####.
#...#
#...#
#...#
####.
#.#..
#..#.
#...#)"},
    {U'S', R"(
.....
.###.
#...#
#....
.###.
....#
....#
#...#
.###.)"},
    {U'T', R"(
.....
#####
..#..
..#..
..#..
..#..
..#..
..#..
..#..)"},
    {U'U', R"(
......
#....#
#....#
#....#
#....#
#....#
#....#
#....#
.####.)"},
    {U'V', R"(
.......
#.....#
#.....#
.#...#.
.#...#.
..#.#..
..#.#..
...#...
...#...)"},
    {U'W', R"(
.........
#...#...#
#...#...#
#...#...#
.#.#.#.#.
.#.#.#.#.
.#.#.#.#.
..#...#..
..#...#..)"},
    {U'X', R"(
.....
#...#
#...#
.#.#.
..#..
..#..
.#.#.
#...#
#...#)"},
    {U'Y', R"(
.....
#...#
#...#
.#.#.
.#.#.
..#..
..#..
..#..
..#..)"},
    {U'Z', R"(
.....
#####
....#
...#.
..#..
..#..
.#...
#....
#####)"},
    {U'[', R"(
##
#.
#.
#.
#.
#.
#.
#.
#.
#.
##)"},
    {U'\\', R"(
#...
#...
.#..
.#..
.#..
..#.
..#.
..#.
...#
...#)"},
    {U']', R"(
##
.#
.#
.#
.#
.#
.#
.#
.#
.#
##)"},
    {U'^', R"(
.....
..#..
.#.#.
#...#)"},
    {U'_', R"(
......
......
......
......
......
......
......
......
......
......
######)"},
    {U'`', R"(
..
#.
.#)"},
    {U'a', R"(
....
....
....
.##.
...#
.###
#..#
#..#
.###)"},
    {U'b', R"(
#...
#...
#...
###.
#..#
#..#
#..#
#..#
###.)"},
    {U'c', R"(
....
....
....
.##.
#..#
#...
#...
#..#
.##.)"},
    {U'd', R"(
...#
...#
...#
.###
#..#
#..#
#..#
#..#
.###)"},
    {U'e', R"(
....
....
....
.##.
#..#
####
#...
#..#
.##.)"},
    {U'f', R"(
.##
#..
#..
###
#..
#..
#..
#..
#..)"},
    {U'g', R"(
....
....
....
.###
#..#
#..#
#..#
#..#
.###
...#
.##.)"},
    {U'h', R"(
#...
#...
#...
###.
#..#
#..#
#..#
#..#
#..#)"},
    {U'i', R"(
.
#
.
#
#
#
#
#
#)"},
    {U'j', R"(
..
.#
..
.#
.#
.#
.#
.#
.#
.#
#.)"},
    {U'k', R"(
#...
#...
#...
#..#
#.#.
##..
##..
#.#.
#..#)"},
    {U'l', R"(
#
#
#
#
#
#
#
#
#)"},
    {U'm', R"(
.......
.......
.......
###.##.
#..#..#
#..#..#
#..#..#
#..#..#
#..#..#)"},
    {U'n', R"(
....
....
....
###.
#..#
#..#
#..#
#..#
#..#)"},
    {U'o', R"(
....
....
....
.##.
#..#
#..#
#..#
#..#
.##.)"},
    {U'p', R"(
....
....
....
###.
#..#
#..#
#..#
#..#
###.
#...
#...)"},
    {U'q', R"(
....
....
....
.###
#..#
#..#
#..#
#..#
.###
...#
...#)"},
    // The arm of the r reaches into the gap, as in the classic small faces.
    {U'r', R"(
...
...
...
#.#
##.
#..
#..
#..
#..)",
     -1},
    {U's', R"(
....
....
....
.###
#...
.##.
...#
...#
###.)"},
    {U't', R"(
...
#..
#..
###
#..
#..
#..
#..
.##)"},
    {U'u', R"(
....
....
....
#..#
#..#
#..#
#..#
#..#
.###)"},
    {U'v', R"(
.....
.....
.....
#...#
#...#
.#.#.
.#.#.
.#.#.
..#..)"},
    {U'w', R"(
.......
.......
.......
#.....#
#..#..#
#..#..#
#..#..#
.#.#.#.
.#...#.)"},
    {U'x', R"(
....
....
....
#..#
#..#
.##.
.##.
#..#
#..#)"},
    {U'y', R"(
....
....
....
#..#
#..#
#..#
#..#
#..#
.###
...#
.##.)"},
    {U'z', R"(
....
....
....
####
...#
..#.
.#..
#...
####)"},
    {U'{', R"(
..#
.#.
.#.
.#.
.#.
#..
.#.
.#.
.#.
.#.
..#)"},
    {U'|', R"(
#
#
#
#
#
#
#
#
#
#
#)"},
    {U'}', R"(
#..
.#.
.#.
.#.
.#.
..#
.#.
.#.
.#.
.#.
#..)"},
    {U'~', R"(
.....
.....
.....
.....
.##.#
#.##.)"},
};

// Letters that are not a base letter with a mark, and the signs of Latin-1 and of the
// Windows code page's upper half.
const Drawn EXTRA[] = {
    {0x00A1, R"(
.
.
.
#
.
#
#
#
#
#
#)"},
    {0x00A2, R"(
.....
..#..
.###.
#.#.#
#.#..
#.#..
#.#.#
.###.
..#..)"},
    {0x00A3, R"(
.....
..##.
.#..#
.#...
####.
.#...
.#...
##..#
#.##.)"},
    {0x00A4, R"(
.....
.....
#...#
.###.
.#.#.
.###.
#...#)"},
    {0x00A5, R"(
.....
#...#
#...#
.#.#.
#####
..#..
#####
..#..
..#..)"},
    {0x00A6, R"(
#
#
#
#
.
.
#
#
#
#)"},
    {0x00A7, R"(
....
.##.
#..#
#...
.##.
#..#
.##.
...#
#..#
.##.)"},
    {0x00A9, R"(
........
..####..
.#....#.
#..##..#
#.#....#
#.#....#
#..##..#
.#....#.
..####..)"},
    {0x00AA, R"(
...
###
..#
###
#.#
###)"},
    {0x00AB, R"(
.....
.....
.....
.....
.#..#
#..#.
.#..#)"},
    {0x00AC, R"(
.....
.....
.....
.....
.....
#####
....#
....#)"},
    {0x00AE, R"(
........
..####..
.#....#.
#.###..#
#.#..#.#
#.###..#
#.#.#..#
.#....#.
..####..)"},
    {0x00AF, R"(
....
####)"},
    {0x00B0, R"(
...
.#.
#.#
.#.)"},
    {0x00B1, R"(
.....
.....
..#..
..#..
#####
..#..
..#..
.....
#####)"},
    {0x00B2, R"(
...
##.
..#
.#.
###)"},
    {0x00B3, R"(
...
##.
..#
.#.
..#
##.)"},
    {0x00B5, R"(
....
....
....
#..#
#..#
#..#
#..#
#.##
##.#
#...
#...)"},
    {0x00B6, R"(
.....
.####
###.#
###.#
.##.#
..#.#
..#.#
..#.#
..#.#)"},
    {0x00B7, R"(
.
.
.
.
.
#)"},
    {0x00B9, R"(
..
.#
##
.#
.#
.#)"},
    {0x00BA, R"(
...
.#.
#.#
#.#
.#.
...
###)"},
    {0x00BB, R"(
.....
.....
.....
.....
#..#.
.#..#
#..#.)"},
    {0x00BC, R"(
.........
.#....#..
##...#...
.#..#....
.#.#..#..
...#.##..
..#.#.#..
.#..####.
#.....#..)"},
    {0x00BD, R"(
.........
.#....#..
##...#...
.#..#....
.#.#.##..
...#...#.
..#...#..
.#...#...
#....###.)"},
    {0x00BE, R"(
.........
##....#..
..#..#...
.#..#....
..##..#..
##.#.##..
..#.#.#..
.#..####.
#.....#..)"},
    {0x00BF, R"(
.....
.....
.....
..#..
.....
..#..
..#..
.#...
#....
#...#
.###.)"},
    {0x00C6, R"(
.........
...######
..#..#...
..#..#...
.#...####
.#####...
#....#...
#....#...
#....####)"},
    {0x00D0, R"(
.......
.####..
.#...#.
.#....#
####..#
.#....#
.#....#
.#...#.
.####..)"},
    {0x00D7, R"(
.....
.....
.....
#...#
.#.#.
..#..
.#.#.
#...#)"},
    {0x00D8, R"(
......
..##.#
.#..#.
#..#.#
#..#.#
#.#..#
#.#..#
.#..#.
#.##..)"},
    {0x00DE, R"(
.....
#....
####.
#...#
#...#
#...#
####.
#....
#....)"},
    {0x00DF, R"(
....
.##.
#..#
#..#
#.#.
#..#
#..#
#..#
#.#.)"},
    {0x00E6, R"(
.......
.......
.......
.##.##.
...#..#
.######
#..#...
#..#..#
.##.##.)"},
    {0x00F0, R"(
....
#.#.
.#..
#.#.
.###
#..#
#..#
#..#
.##.)"},
    {0x00F7, R"(
.....
.....
.....
..#..
.....
#####
.....
..#..)"},
    {0x00F8, R"(
.....
.....
....#
.###.
#..##
#.#.#
#.#.#
##..#
.###.
#....)"},
    {0x00FE, R"(
....
#...
#...
###.
#..#
#..#
#..#
#..#
###.
#...
#...)"},
    {0x0110, R"(
.......
.####..
.#...#.
.#....#
####..#
.#....#
.#....#
.#...#.
.####..)"},
    {0x0111, R"(
...#.
..###
...#.
.###.
#..#.
#..#.
#..#.
#..#.
.###.)"},
    {0x0126, R"(
........
.#....#.
########
.#....#.
.######.
.#....#.
.#....#.
.#....#.
.#....#.)"},
    {0x0127, R"(
.#...
####.
.#...
.###.
.#..#
.#..#
.#..#
.#..#
.#..#)"},
    {0x0131, R"(
.
.
.
#
#
#
#
#
#)"},
    {0x0138, R"(
....
....
....
#..#
#.#.
##..
##..
#.#.
#..#)"},
    {0x0141, R"(
.....
.#...
.#...
.#...
.##..
##...
.#...
.#...
.####)"},
    {0x0142, R"(
...
.#.
.#.
.#.
.##
##.
.#.
.#.
.#.)"},
    {0x014A, R"(
......
#....#
##...#
#.#..#
#.#..#
#..#.#
#..#.#
#...##
#....#
.....#
...##.)"},
    {0x014B, R"(
....
....
....
###.
#..#
#..#
#..#
#..#
#..#
...#
.##.)"},
    {0x0152, R"(
.........
..#######
.#...#...
#....#...
#....####
#....#...
#....#...
.#...#...
..#######)"},
    {0x0153, R"(
.......
.......
.......
.##.##.
#..#..#
#..####
#..#...
#..#..#
.##.##.)"},
    {0x0166, R"(
.....
#####
..#..
..#..
.###.
..#..
..#..
..#..
..#..)"},
    {0x0167, R"(
...
#..
#..
###
#..
##.
#..
#..
.##)"},
    {0x017F, R"(
.##
#..
#..
#..
#..
#..
#..
#..
#..)"},
    {0x0192, R"(
....
..##
.#..
.#..
####
.#..
.#..
.#..
.#..
.#..
#...)"},
    {0x0237, R"(
..
..
..
.#
.#
.#
.#
.#
.#
.#
#.)"},
    {0x02C6, R"(
...
.#.
#.#)"},
    {0x02DC, R"(
....
.#.#
#.#.)"},
    {0x2013, R"(
.....
.....
.....
.....
.....
.....
#####)"},
    {0x2014, R"(
.........
.........
.........
.........
.........
.........
#########)"},
    {0x2018, R"(
.
#
#)"},
    {0x2019, R"(
.
#
#)"},
    {0x201A, R"(
.
.
.
.
.
.
.
.
#
#)"},
    {0x201C, R"(
...
#.#
#.#)"},
    {0x201D, R"(
...
#.#
#.#)"},
    {0x201E, R"(
...
...
...
...
...
...
...
...
#.#
#.#)"},
    {0x2020, R"(
.....
..#..
..#..
#####
..#..
..#..
..#..
..#..
..#..)"},
    {0x2021, R"(
.....
..#..
#####
..#..
..#..
..#..
#####
..#..
..#..)"},
    {0x2022, R"(
....
....
....
....
.##.
####
####
.##.)"},
    {0x2026, R"(
.....
.....
.....
.....
.....
.....
.....
.....
#.#.#)"},
    {0x2030, R"(
..........
..........
.#....#...
#.#..#....
.#..#.....
...#......
..#.#...#.
.#.#.#.#.#
#...#...#.)"},
    {0x2039, R"(
...
...
...
...
.#.
#..
.#.)"},
    {0x203A, R"(
...
...
...
...
#..
.#.
#..)"},
    {0x20AC, R"(
......
...###
..#...
#####.
.#....
#####.
..#...
..#...
...###)"},
    {0x2122, R"(
.........
#####.#.#
..#...###
..#...#.#
..#...#.#)"},
    {0xFFFD, R"(
.....
#####
#...#
#...#
#...#
#...#
#...#
#...#
#####)"},
};

// Marks, each with its own rows; placed by Compose.
enum class Mark {
    GRAVE,
    ACUTE,
    CIRCUMFLEX,
    TILDE,
    DIAERESIS,
    RING,
    CARON,
    BREVE,
    MACRON,
    DOT,
    DOUBLE_ACUTE,
    CEDILLA,
    COMMA_BELOW,
    OGONEK,
    APOSTROPHE,  // the caron of ď, ľ, ť and Ľ, set beside the stem
    MIDDLE_DOT,
};

std::vector<std::string> MarkRows(Mark m) {
    switch (m) {
        case Mark::GRAVE:
            return {"#.", ".#"};
        case Mark::ACUTE:
            return {".#", "#."};
        case Mark::CIRCUMFLEX:
            return {".#.", "#.#"};
        case Mark::TILDE:
            return {".#.#", "#.#."};
        case Mark::DIAERESIS:
            return {"#.#"};
        case Mark::RING:
            return {".#.", "#.#", ".#."};
        case Mark::CARON:
            return {"#.#", ".#."};
        case Mark::BREVE:
            return {"#..#", ".##."};
        case Mark::MACRON:
            return {"####"};
        case Mark::DOT:
            return {"#"};
        case Mark::DOUBLE_ACUTE:
            return {".#.#", "#.#."};
        case Mark::CEDILLA:
            return {".#", "##"};
        case Mark::COMMA_BELOW:
            return {".#", "#."};
        case Mark::OGONEK:
            return {"#.", ".#"};
        case Mark::APOSTROPHE:
            return {"#", "#"};
        case Mark::MIDDLE_DOT:
            return {"#"};
    }
    return {};
}

struct Composed {
    char32_t code;
    char32_t base;
    Mark mark;
};

const Composed COMPOSED[] = {
    {0x00C0, U'A', Mark::GRAVE},        {0x00C1, U'A', Mark::ACUTE},
    {0x00C2, U'A', Mark::CIRCUMFLEX},   {0x00C3, U'A', Mark::TILDE},
    {0x00C4, U'A', Mark::DIAERESIS},    {0x00C5, U'A', Mark::RING},
    {0x00C7, U'C', Mark::CEDILLA},      {0x00C8, U'E', Mark::GRAVE},
    {0x00C9, U'E', Mark::ACUTE},        {0x00CA, U'E', Mark::CIRCUMFLEX},
    {0x00CB, U'E', Mark::DIAERESIS},    {0x00CC, U'I', Mark::GRAVE},
    {0x00CD, U'I', Mark::ACUTE},        {0x00CE, U'I', Mark::CIRCUMFLEX},
    {0x00CF, U'I', Mark::DIAERESIS},    {0x00D1, U'N', Mark::TILDE},
    {0x00D2, U'O', Mark::GRAVE},        {0x00D3, U'O', Mark::ACUTE},
    {0x00D4, U'O', Mark::CIRCUMFLEX},   {0x00D5, U'O', Mark::TILDE},
    {0x00D6, U'O', Mark::DIAERESIS},    {0x00D9, U'U', Mark::GRAVE},
    {0x00DA, U'U', Mark::ACUTE},        {0x00DB, U'U', Mark::CIRCUMFLEX},
    {0x00DC, U'U', Mark::DIAERESIS},    {0x00DD, U'Y', Mark::ACUTE},
    {0x00E0, U'a', Mark::GRAVE},        {0x00E1, U'a', Mark::ACUTE},
    {0x00E2, U'a', Mark::CIRCUMFLEX},   {0x00E3, U'a', Mark::TILDE},
    {0x00E4, U'a', Mark::DIAERESIS},    {0x00E5, U'a', Mark::RING},
    {0x00E7, U'c', Mark::CEDILLA},      {0x00E8, U'e', Mark::GRAVE},
    {0x00E9, U'e', Mark::ACUTE},        {0x00EA, U'e', Mark::CIRCUMFLEX},
    {0x00EB, U'e', Mark::DIAERESIS},    {0x00EC, 0x0131, Mark::GRAVE},
    {0x00ED, 0x0131, Mark::ACUTE},      {0x00EE, 0x0131, Mark::CIRCUMFLEX},
    {0x00EF, 0x0131, Mark::DIAERESIS},  {0x00F1, U'n', Mark::TILDE},
    {0x00F2, U'o', Mark::GRAVE},        {0x00F3, U'o', Mark::ACUTE},
    {0x00F4, U'o', Mark::CIRCUMFLEX},   {0x00F5, U'o', Mark::TILDE},
    {0x00F6, U'o', Mark::DIAERESIS},    {0x00F9, U'u', Mark::GRAVE},
    {0x00FA, U'u', Mark::ACUTE},        {0x00FB, U'u', Mark::CIRCUMFLEX},
    {0x00FC, U'u', Mark::DIAERESIS},    {0x00FD, U'y', Mark::ACUTE},
    {0x00FF, U'y', Mark::DIAERESIS},    {0x0100, U'A', Mark::MACRON},
    {0x0101, U'a', Mark::MACRON},       {0x0102, U'A', Mark::BREVE},
    {0x0103, U'a', Mark::BREVE},        {0x0104, U'A', Mark::OGONEK},
    {0x0105, U'a', Mark::OGONEK},       {0x0106, U'C', Mark::ACUTE},
    {0x0107, U'c', Mark::ACUTE},        {0x0108, U'C', Mark::CIRCUMFLEX},
    {0x0109, U'c', Mark::CIRCUMFLEX},   {0x010A, U'C', Mark::DOT},
    {0x010B, U'c', Mark::DOT},          {0x010C, U'C', Mark::CARON},
    {0x010D, U'c', Mark::CARON},        {0x010E, U'D', Mark::CARON},
    {0x010F, U'd', Mark::APOSTROPHE},   {0x0112, U'E', Mark::MACRON},
    {0x0113, U'e', Mark::MACRON},       {0x0114, U'E', Mark::BREVE},
    {0x0115, U'e', Mark::BREVE},        {0x0116, U'E', Mark::DOT},
    {0x0117, U'e', Mark::DOT},          {0x0118, U'E', Mark::OGONEK},
    {0x0119, U'e', Mark::OGONEK},       {0x011A, U'E', Mark::CARON},
    {0x011B, U'e', Mark::CARON},        {0x011C, U'G', Mark::CIRCUMFLEX},
    {0x011D, U'g', Mark::CIRCUMFLEX},   {0x011E, U'G', Mark::BREVE},
    {0x011F, U'g', Mark::BREVE},        {0x0120, U'G', Mark::DOT},
    {0x0121, U'g', Mark::DOT},          {0x0122, U'G', Mark::COMMA_BELOW},
    {0x0123, U'g', Mark::ACUTE},        {0x0124, U'H', Mark::CIRCUMFLEX},
    {0x0125, U'h', Mark::CIRCUMFLEX},   {0x0128, U'I', Mark::TILDE},
    {0x0129, 0x0131, Mark::TILDE},      {0x012A, U'I', Mark::MACRON},
    {0x012B, 0x0131, Mark::MACRON},     {0x012C, U'I', Mark::BREVE},
    {0x012D, 0x0131, Mark::BREVE},      {0x012E, U'I', Mark::OGONEK},
    {0x012F, U'i', Mark::OGONEK},       {0x0130, U'I', Mark::DOT},
    {0x0134, U'J', Mark::CIRCUMFLEX},   {0x0135, 0x0237, Mark::CIRCUMFLEX},
    {0x0136, U'K', Mark::COMMA_BELOW},  {0x0137, U'k', Mark::COMMA_BELOW},
    {0x0139, U'L', Mark::ACUTE},        {0x013A, U'l', Mark::ACUTE},
    {0x013B, U'L', Mark::COMMA_BELOW},  {0x013C, U'l', Mark::COMMA_BELOW},
    {0x013D, U'L', Mark::APOSTROPHE},   {0x013E, U'l', Mark::APOSTROPHE},
    {0x013F, U'L', Mark::MIDDLE_DOT},   {0x0140, U'l', Mark::MIDDLE_DOT},
    {0x0143, U'N', Mark::ACUTE},        {0x0144, U'n', Mark::ACUTE},
    {0x0145, U'N', Mark::COMMA_BELOW},  {0x0146, U'n', Mark::COMMA_BELOW},
    {0x0147, U'N', Mark::CARON},        {0x0148, U'n', Mark::CARON},
    {0x014C, U'O', Mark::MACRON},       {0x014D, U'o', Mark::MACRON},
    {0x014E, U'O', Mark::BREVE},        {0x014F, U'o', Mark::BREVE},
    {0x0150, U'O', Mark::DOUBLE_ACUTE}, {0x0151, U'o', Mark::DOUBLE_ACUTE},
    {0x0154, U'R', Mark::ACUTE},        {0x0155, U'r', Mark::ACUTE},
    {0x0156, U'R', Mark::COMMA_BELOW},  {0x0157, U'r', Mark::COMMA_BELOW},
    {0x0158, U'R', Mark::CARON},        {0x0159, U'r', Mark::CARON},
    {0x015A, U'S', Mark::ACUTE},        {0x015B, U's', Mark::ACUTE},
    {0x015C, U'S', Mark::CIRCUMFLEX},   {0x015D, U's', Mark::CIRCUMFLEX},
    {0x015E, U'S', Mark::CEDILLA},      {0x015F, U's', Mark::CEDILLA},
    {0x0160, U'S', Mark::CARON},        {0x0161, U's', Mark::CARON},
    {0x0162, U'T', Mark::CEDILLA},      {0x0163, U't', Mark::CEDILLA},
    {0x0164, U'T', Mark::CARON},        {0x0165, U't', Mark::APOSTROPHE},
    {0x0168, U'U', Mark::TILDE},        {0x0169, U'u', Mark::TILDE},
    {0x016A, U'U', Mark::MACRON},       {0x016B, U'u', Mark::MACRON},
    {0x016C, U'U', Mark::BREVE},        {0x016D, U'u', Mark::BREVE},
    {0x016E, U'U', Mark::RING},         {0x016F, U'u', Mark::RING},
    {0x0170, U'U', Mark::DOUBLE_ACUTE}, {0x0171, U'u', Mark::DOUBLE_ACUTE},
    {0x0172, U'U', Mark::OGONEK},       {0x0173, U'u', Mark::OGONEK},
    {0x0174, U'W', Mark::CIRCUMFLEX},   {0x0175, U'w', Mark::CIRCUMFLEX},
    {0x0176, U'Y', Mark::CIRCUMFLEX},   {0x0177, U'y', Mark::CIRCUMFLEX},
    {0x0178, U'Y', Mark::DIAERESIS},    {0x0179, U'Z', Mark::ACUTE},
    {0x017A, U'z', Mark::ACUTE},        {0x017B, U'Z', Mark::DOT},
    {0x017C, U'z', Mark::DOT},          {0x017D, U'Z', Mark::CARON},
    {0x017E, U'z', Mark::CARON},
};

// A glyph as a full-height canvas of cell rows, for composing.
struct Canvas {
    std::vector<std::string> rows = std::vector<std::string>(CELL);
    int width = 0;

    explicit Canvas(const FaceGlyph& g) : width(g.Width()) {
        for (auto& r : rows) {
            r.assign(static_cast<size_t>(width), '.');
        }
        for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
            rows[static_cast<size_t>(g.top + r)] = g.rows[static_cast<size_t>(r)];
        }
    }
    bool Ink(int x, int y) const {
        return x >= 0 && x < width && y >= 0 && y < CELL &&
               rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#';
    }
    // Widens the canvas by n blank columns on the left (n > 0) or on the right (n < 0).
    void Widen(int n) {
        for (auto& r : rows) {
            r = n > 0 ? std::string(static_cast<size_t>(n), '.') + r
                      : r + std::string(static_cast<size_t>(-n), '.');
        }
        width += n > 0 ? n : -n;
    }
    void Stamp(const std::vector<std::string>& mark, int x, int y) {
        if (x < 0) {
            Widen(-x);
            x = 0;
        }
        int w = static_cast<int>(mark[0].size());
        if (x + w > width) {
            Widen(-(x + w - width));
        }
        for (int r = 0; r < static_cast<int>(mark.size()); ++r) {
            for (int c = 0; c < w; ++c) {
                if (mark[static_cast<size_t>(r)][static_cast<size_t>(c)] == '#') {
                    if (y + r < 0 || y + r >= CELL) {
                        throw std::runtime_error("a mark leaves the cell");
                    }
                    rows[static_cast<size_t>(y + r)][static_cast<size_t>(x + c)] = '#';
                }
            }
        }
    }
    // First and one-past-last columns and rows with ink.
    void Box(int& x0, int& x1, int& y0, int& y1) const {
        x0 = width, x1 = 0, y0 = CELL, y1 = 0;
        for (int y = 0; y < CELL; ++y) {
            for (int x = 0; x < width; ++x) {
                if (Ink(x, y)) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x + 1);
                    y0 = std::min(y0, y), y1 = std::max(y1, y + 1);
                }
            }
        }
    }
};

FaceGlyph Compose(const FaceGlyph& base, const Composed& c) {
    Canvas canvas(base);
    int x0, x1, y0, y1;
    canvas.Box(x0, x1, y0, y1);
    const std::vector<std::string> mark = MarkRows(c.mark);
    const int w = static_cast<int>(mark[0].size()), h = static_cast<int>(mark.size());
    const int centred = x0 + (x1 - x0 - w) / 2;
    // Over a capital or a tall letter the mark takes rows 0..1, over a small letter
    // rows 2..3; one blank row keeps it off the letter.
    const bool tall = y0 <= 4;
    const int aboveBottom = tall ? 1 : 3;
    switch (c.mark) {
        case Mark::CEDILLA:
        case Mark::COMMA_BELOW:
            canvas.Stamp(mark, centred, 11);
            break;
        case Mark::OGONEK:
            canvas.Stamp(mark, x1 - 2, 11);
            break;
        case Mark::APOSTROPHE:
            canvas.Stamp(mark, x1 + 1, y0);
            break;
        case Mark::MIDDLE_DOT:
            canvas.Stamp(mark, x1 + 1, 7);
            break;
        case Mark::RING:
            canvas.Stamp(mark, centred, aboveBottom - 1);
            break;
        default:
            canvas.Stamp(mark, centred, aboveBottom - h + 1);
            break;
    }
    FaceGlyph g;
    g.code = c.code;
    g.top = 0;
    g.left = 0;
    g.rows = canvas.rows;
    g.advance = canvas.width + 1;
    return g;
}

FaceGlyph FromDrawn(const Drawn& d) {
    FaceGlyph g;
    g.code = d.code;
    g.rows = GlyphRows(d.grid);
    g.top = GRID_TOP;
    g.left = 0;
    g.advance = g.Width() + 1 + d.adjust;
    return g;
}

// A glyph made of two others side by side, as the Dutch ligatures and ŉ are.
FaceGlyph Pair(const Face& face, char32_t code, char32_t first, char32_t second) {
    Canvas a(*face.Find(first)), b(*face.Find(second));
    FaceGlyph g;
    g.code = code;
    g.top = 0;
    for (int y = 0; y < CELL; ++y) {
        g.rows.push_back(a.rows[static_cast<size_t>(y)] + "." + b.rows[static_cast<size_t>(y)]);
    }
    g.advance = a.width + 1 + b.width + 1;
    return g;
}

}  // namespace

Face MakeDialogFace() {
    Face face;
    face.family = "Vorla Sans";
    face.weightName = "Medium";
    face.pixelSize = 11;
    face.ascent = 11;
    face.descent = 2;
    for (const Drawn& d : ASCII) {
        face.glyphs.push_back(FromDrawn(d));
    }
    for (const Drawn& d : EXTRA) {
        face.glyphs.push_back(FromDrawn(d));
    }
    // Spaces and the soft hyphen look like their plain forms.
    FaceGlyph nbsp = FromDrawn(ASCII[0]);
    nbsp.code = 0x00A0;
    face.glyphs.push_back(nbsp);
    FinishFace(face);
    std::vector<FaceGlyph> more;
    FaceGlyph hyphen = *face.Find(U'-');
    hyphen.code = 0x00AD;
    more.push_back(hyphen);
    // Spacing forms of the marks.
    for (auto [code, mark] :
         {std::pair{0x00A8u, Mark::DIAERESIS}, {0x00B4u, Mark::ACUTE}, {0x00B8u, Mark::CEDILLA}}) {
        FaceGlyph g;
        g.code = code;
        g.rows = MarkRows(mark);
        g.top = mark == Mark::CEDILLA ? 11 : 3;
        g.advance = g.Width() + 1;
        more.push_back(g);
    }
    for (const Composed& c : COMPOSED) {
        const FaceGlyph* base = face.Find(c.base);
        if (base == nullptr) {
            throw std::runtime_error("no base letter for a composed glyph");
        }
        more.push_back(Compose(*base, c));
    }
    more.push_back(Pair(face, 0x0132, U'I', U'J'));
    more.push_back(Pair(face, 0x0133, U'i', U'j'));
    more.push_back(Pair(face, 0x0149, U'\'', U'n'));
    face.glyphs.insert(face.glyphs.end(), more.begin(), more.end());
    FinishFace(face);
    return face;
}

}  // namespace art
