#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats.h"
#include "image.h"

namespace art {

// One glyph of a bitmap face. Rows are given from `top`, a row of the character cell
// (row 0 is the cell's top); '#' is ink, anything else is blank. The first grid column
// sits `left` pixels right of the pen, and the pen then moves on by `advance`.
struct FaceGlyph {
    uint32_t code = 0;  // Unicode
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<std::string> rows;

    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
    bool Ink(int column, int row) const;  // row and column in grid coordinates
};

// A bitmap face at one size: the cell is ascent + descent rows, the baseline below row
// ascent - 1. pixelSize is the em height; the rows above it are the internal leading.
struct Face {
    std::string family;
    std::string weightName;  // "Medium", "Bold"
    int pixelSize = 0;
    int ascent = 0;
    int descent = 0;
    uint32_t defaultChar = 0xFFFD;  // shown for characters the face lacks
    std::vector<FaceGlyph> glyphs;  // sorted by code, no code twice

    const FaceGlyph* Find(uint32_t code) const;
    int TextWidth(std::u32string_view text) const;
};

// Splits a raw-string grid ("\n..##..\n.####.\n") into its rows; the first newline is
// only there to line the rows up in the source.
std::vector<std::string> GlyphRows(std::string_view raw);

// Sorts the glyphs by code and rejects a face that is not well formed: ragged rows,
// ink outside the cell, a code given twice, or no default glyph.
void FinishFace(Face& face);

// The panel face "Viking" at a cell height of 20 or 28 pixels.
Face MakeVikingFace(int cellHeight);
// The dialog face at the classic 8-point size: a 13-pixel cell.
Face MakeDialogFace();

// The face as a BDF file (Unicode encoding), as FreeType and fontconfig read it.
Bytes EncodeBdf(const Face& face);

// Draws text in the face with its cell's top-left at (x, y).
void DrawFaceText(Image& img, int x, int y, const Face& face, std::u32string_view text, Rgb ink);

}  // namespace art
