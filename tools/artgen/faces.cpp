#include "faces.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace art {

bool FaceGlyph::Ink(int column, int row) const {
    return row >= 0 && row < static_cast<int>(rows.size()) && column >= 0 && column < Width() &&
           rows[static_cast<size_t>(row)][static_cast<size_t>(column)] == '#';
}

const FaceGlyph* Face::Find(uint32_t code) const {
    auto it = std::lower_bound(glyphs.begin(), glyphs.end(), code,
                               [](const FaceGlyph& g, uint32_t c) { return g.code < c; });
    return it != glyphs.end() && it->code == code ? &*it : nullptr;
}

int Face::TextWidth(std::u32string_view text) const {
    int w = 0;
    for (char32_t c : text) {
        const FaceGlyph* g = Find(c);
        w += (g != nullptr ? g : Find(defaultChar))->advance;
    }
    return w;
}

std::vector<std::string> GlyphRows(std::string_view raw) {
    std::vector<std::string> rows;
    if (!raw.empty() && raw.front() == '\n') {
        raw.remove_prefix(1);
    }
    while (!raw.empty()) {
        size_t end = raw.find('\n');
        rows.emplace_back(raw.substr(0, end));
        raw.remove_prefix(end == std::string_view::npos ? raw.size() : end + 1);
    }
    return rows;
}

namespace {

std::string Hex(uint32_t code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(code));
    return buf;
}

struct InkBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // grid columns and rows, exclusive ends
    bool empty = true;
};

InkBox InkOf(const FaceGlyph& g) {
    InkBox b;
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
        for (int c = 0; c < g.Width(); ++c) {
            if (!g.Ink(c, r)) {
                continue;
            }
            if (b.empty) {
                b = {c, r, c + 1, r + 1, false};
            } else {
                b = {std::min(b.x0, c), std::min(b.y0, r), std::max(b.x1, c + 1),
                     std::max(b.y1, r + 1), false};
            }
        }
    }
    return b;
}

void Append(Bytes& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
}

std::string Line(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return std::string(buf) + "\n";
}

}  // namespace

void FinishFace(Face& face) {
    std::sort(face.glyphs.begin(), face.glyphs.end(),
              [](const FaceGlyph& a, const FaceGlyph& b) { return a.code < b.code; });
    for (size_t i = 0; i < face.glyphs.size(); ++i) {
        const FaceGlyph& g = face.glyphs[i];
        if (i > 0 && face.glyphs[i - 1].code == g.code) {
            throw std::runtime_error(face.family + ": " + Hex(g.code) + " given twice");
        }
        for (const std::string& row : g.rows) {
            if (static_cast<int>(row.size()) != g.Width()) {
                throw std::runtime_error(face.family + ": ragged rows in " + Hex(g.code));
            }
        }
        InkBox b = InkOf(g);
        if (!b.empty && (g.top + b.y0 < 0 || g.top + b.y1 > face.ascent + face.descent)) {
            throw std::runtime_error(face.family + ": " + Hex(g.code) + " leaves the cell");
        }
        if (g.advance <= 0) {
            throw std::runtime_error(face.family + ": " + Hex(g.code) + " has no advance");
        }
    }
    if (face.Find(face.defaultChar) == nullptr) {
        throw std::runtime_error(face.family + ": no default glyph");
    }
}

Bytes EncodeBdf(const Face& face) {
    const long decipoints = (face.pixelSize * 720L + 48) / 96;
    long advances = 0;
    InkBox all;
    for (const FaceGlyph& g : face.glyphs) {
        advances += g.advance;
        InkBox b = InkOf(g);
        if (b.empty) {
            continue;
        }
        // In pixels from the origin: x right of the pen, y up from the baseline.
        InkBox p{g.left + b.x0, face.ascent - (g.top + b.y1), g.left + b.x1,
                 face.ascent - (g.top + b.y0), false};
        all = all.empty ? p
                        : InkBox{std::min(all.x0, p.x0), std::min(all.y0, p.y0),
                                 std::max(all.x1, p.x1), std::max(all.y1, p.y1), false};
    }
    const long averageWidth = face.glyphs.empty() ? 0
                                                  : (advances * 10 + long(face.glyphs.size()) / 2) /
                                                        long(face.glyphs.size());
    Bytes out;
    Append(out, "STARTFONT 2.1\n");
    Append(out, "FONT -vorla-" + face.family + "-" + face.weightName + "-R-Normal--" +
                    std::to_string(face.pixelSize) + "-" + std::to_string(decipoints) +
                    "-96-96-P-" + std::to_string(averageWidth) + "-ISO10646-1\n");
    Append(out, Line("SIZE %ld 96 96", (decipoints + 5) / 10));
    Append(out, Line("FONTBOUNDINGBOX %ld %ld %ld %ld", all.x1 - all.x0, all.y1 - all.y0, all.x0,
                     all.y0));
    Append(out, "STARTPROPERTIES 17\n");
    Append(out, "FOUNDRY \"vorla\"\n");
    Append(out, "FAMILY_NAME \"" + face.family + "\"\n");
    Append(out, "WEIGHT_NAME \"" + face.weightName + "\"\n");
    Append(out, "SLANT \"R\"\nSETWIDTH_NAME \"Normal\"\nADD_STYLE_NAME \"\"\n");
    Append(out, Line("PIXEL_SIZE %ld", face.pixelSize));
    Append(out, Line("POINT_SIZE %ld", decipoints));
    Append(out, "RESOLUTION_X 96\nRESOLUTION_Y 96\nSPACING \"P\"\n");
    Append(out, Line("AVERAGE_WIDTH %ld", averageWidth));
    Append(out, "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n");
    Append(out, Line("FONT_ASCENT %ld", face.ascent));
    Append(out, Line("FONT_DESCENT %ld", face.descent));
    Append(out, Line("DEFAULT_CHAR %ld", long(face.defaultChar)));
    Append(out, "ENDPROPERTIES\n");
    Append(out, Line("CHARS %ld", long(face.glyphs.size())));
    for (const FaceGlyph& g : face.glyphs) {
        char name[32];
        std::snprintf(name, sizeof name, "uni%04X", static_cast<unsigned>(g.code));
        Append(out, std::string("STARTCHAR ") + name + "\n");
        Append(out, Line("ENCODING %ld", long(g.code)));
        Append(out,
               Line("SWIDTH %ld 0", (g.advance * 1000L + face.pixelSize / 2) / face.pixelSize));
        Append(out, Line("DWIDTH %ld 0", g.advance));
        InkBox b = InkOf(g);
        if (b.empty) {
            Append(out, "BBX 0 0 0 0\nBITMAP\nENDCHAR\n");
            continue;
        }
        Append(out, Line("BBX %ld %ld %ld %ld", b.x1 - b.x0, b.y1 - b.y0, g.left + b.x0,
                         face.ascent - (g.top + b.y1)));
        Append(out, "BITMAP\n");
        for (int r = b.y0; r < b.y1; ++r) {
            std::string hex;
            for (int c0 = b.x0; c0 < b.x1; c0 += 8) {
                unsigned byte = 0;
                for (int k = 0; k < 8; ++k) {
                    if (c0 + k < b.x1 && g.Ink(c0 + k, r)) {
                        byte |= 0x80u >> k;
                    }
                }
                char two[3];
                std::snprintf(two, sizeof two, "%02X", byte);
                hex += two;
            }
            Append(out, hex + "\n");
        }
        Append(out, "ENDCHAR\n");
    }
    Append(out, "ENDFONT\n");
    return out;
}

void DrawFaceText(Image& img, int x, int y, const Face& face, std::u32string_view text, Rgb ink) {
    int pen = x;
    for (char32_t c : text) {
        const FaceGlyph* g = face.Find(c);
        if (g == nullptr) {
            g = face.Find(face.defaultChar);
        }
        for (int r = 0; r < static_cast<int>(g->rows.size()); ++r) {
            for (int col = 0; col < g->Width(); ++col) {
                if (g->Ink(col, r)) {
                    img.Set(pen + g->left + col, y + g->top + r, ink);
                }
            }
        }
        pen += g->advance;
    }
}

}  // namespace art
