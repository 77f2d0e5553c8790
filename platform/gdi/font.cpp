// Fonts: a logical font opens its face (found as font_match.cpp says), renders glyphs with
// FreeType, caches them per font, and draws text runs.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "platform/gdi/font_match.h"
#include "platform/gdi/fonts.h"
#include "platform/gdi/gdi_internal.h"
#include "platform/res/resources.h"
#include "platform/utf8.h"

namespace platform::gdi {

class FontFace {
  public:
    struct Glyph {
        bool loaded = false;
        int32_t left = 0;  // from the pen position
        int32_t top = 0;   // above the baseline
        int32_t width = 0;
        int32_t rows = 0;
        int32_t advance = 0;
        std::vector<uint8_t> coverage;
    };

    ~FontFace() {
        if (face_ != nullptr) {
            FT_Done_Face(face_);
        }
    }

    static FontFace* Open(const LOGFONT& log) {
        FT_Library lib = Library();
        if (lib == nullptr) {
            return nullptr;
        }
        char family[LF_FACESIZE + 1] = {};
        std::memcpy(family, log.lfFaceName, LF_FACESIZE);
        int weight = log.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(log.lfWeight, 1, 1000);
        bool italic = log.lfItalic != 0;
        // Heights: negative is the em height, positive the cell height, 0 the default.
        int64_t height = log.lfHeight == 0 ? 16 : log.lfHeight;
        height = std::clamp<int64_t>(height, -1000, 1000);
        double pixels = height < 0 ? double(-height) : double(height) * 0.85;
        auto f = std::make_unique<FontFace>();
        f->underline_ = log.lfUnderline != 0;
        f->strikeOut_ = log.lfStrikeOut != 0;
        f->italic_ = italic;
        const std::string target = SubstituteFaceName(family);
        bool opened = false;
        if (IsShippedFamily(target)) {
            Match m;
            if (FindInstalled(target.c_str(), weight, italic, pixels, m)) {
                opened = f->OpenFile(lib, m, weight, italic, height);
            }
            if (!opened) {
                opened = f->OpenShipped(lib, target, weight, height);
            }
        } else {
            opened = f->OpenClosest(lib, family, weight, italic, pixels, height);
            if (!opened) {
                opened = f->OpenShipped(lib, DIALOG_FACE_FAMILY, weight, height);
            }
        }
        return opened ? f.release() : nullptr;
    }

    // The glyph of a code point: Latin-1's in a table, the rest as they are asked for.
    const Glyph& Get(uint32_t code) {
        Glyph& g = code < 256 ? glyphs_[code] : others_[code];
        if (!g.loaded) {
            Load(code, g);
        }
        return g;
    }

    FaceSource Source() const {
        FaceSource s;
        s.kind = source_;
        s.family = face_ != nullptr && face_->family_name != nullptr ? face_->family_name : "";
        s.file = file_;
        s.cellHeight = ascent + descent;
        s.factor = factor_;
        return s;
    }

    int32_t ascent = 0, descent = 0, ppem = 0, externalLeading = 0, aveWidth = 0, maxWidth = 0;
    int32_t underlinePos = 1, underlineThickness = 1, strikePos = 0;
    bool underline() const { return underline_; }
    bool strikeOut() const { return strikeOut_; }
    bool italic() const { return italic_; }
    int weight() const { return weight_; }

  private:
    bool OpenClosest(FT_Library lib, const char* family, int weight, bool italic, double pixels,
                     int64_t height) {
        Match m;
        if (!MatchFace(family, weight, italic, pixels, m)) {
            return false;
        }
        // Light weights are honoured only in the face that was asked for. A stand-in face
        // keeps at least its regular weight, as Windows never made a face lighter: a
        // hairline stand-in would be unreadable at the small sizes these fonts are used at.
        if (!m.familyFound && weight < FW_NORMAL) {
            weight = FW_NORMAL;
            Match regular;
            if (MatchFace(family, weight, italic, pixels, regular)) {
                m = regular;
            }
        }
        return OpenFile(lib, m, weight, italic, height);
    }

    bool OpenFile(FT_Library lib, const Match& m, int weight, bool italic, int64_t height) {
        if (FT_New_Face(lib, m.file.c_str(), m.index, &face_) != 0) {
            face_ = nullptr;
            return false;
        }
        factor_ = 1;
        source_ = FaceSource::INSTALLED;
        file_ = m.file;
        weight_ = weight;
        const bool bolder = weight >= FW_SEMIBOLD && m.weight < FW_SEMIBOLD;
        embolden_ = bolder && FT_IS_SCALABLE(face_);
        overstrike_ = bolder && !FT_IS_SCALABLE(face_);
        oblique_ = italic && !m.italic;
        return Sized(height);
    }

    bool OpenShipped(FT_Library lib, const std::string& family, int weight, int64_t height) {
        std::vector<ShippedStrike> strikes;
        for (const ShippedStrike& s : ShippedStrikes()) {
            if (SameFamily(s.family, family)) {
                strikes.push_back(s);
            }
        }
        if (strikes.empty()) {
            return false;
        }
        std::vector<int> sizes;
        for (const ShippedStrike& s : strikes) {
            sizes.push_back(height < 0 ? s.ppem : s.cell);
        }
        const ShippedStrike& s = strikes[ChooseStrike(sizes, height < 0 ? -height : height).index];
        if (FT_New_Memory_Face(lib, s.bytes, FT_Long(s.size), 0, &face_) != 0) {
            face_ = nullptr;
            return false;
        }
        factor_ = 1;
        source_ = FaceSource::SHIPPED;
        file_.clear();
        weight_ = weight;
        embolden_ = oblique_ = false;
        overstrike_ = weight >= FW_SEMIBOLD && !s.bold;
        return Sized(height);
    }

    // Sizes the face just opened; a face that cannot be sized is given up, so that the
    // next candidate starts clean.
    bool Sized(int64_t height) {
        if (FT_IS_SCALABLE(face_) ? SizeOutline(height) : SizeStrike(height)) {
            return true;
        }
        FT_Done_Face(face_);
        face_ = nullptr;
        for (Glyph& g : glyphs_) {
            g = Glyph{};
        }
        others_.clear();
        return false;
    }

    bool SizeStrike(int64_t height) {
        FT_Face f = face_;
        if (f->num_fixed_sizes <= 0) {
            return false;
        }
        std::vector<int> sizes;
        for (int i = 0; i < f->num_fixed_sizes; ++i) {
            const FT_Bitmap_Size& b = f->available_sizes[i];
            sizes.push_back(height < 0 ? int((b.y_ppem + 32) >> 6) : int(b.height));
        }
        StrikeChoice c = ChooseStrike(sizes, height < 0 ? -height : height);
        if (FT_Select_Size(f, FT_Int(c.index)) != 0) {
            return false;
        }
        factor_ = c.factor;
        const FT_Bitmap_Size& b = f->available_sizes[c.index];
        int32_t asc = int32_t((f->size->metrics.ascender + 32) >> 6);
        int32_t desc = int32_t((-f->size->metrics.descender + 32) >> 6);
        if (asc + desc <= 0) {
            asc = b.height;
            desc = 0;
        }
        ascent = asc * factor_;
        descent = desc * factor_;
        ppem = std::max(1, int32_t((b.y_ppem + 32) >> 6)) * factor_;
        externalLeading = 0;
        maxWidth =
            int32_t((f->size->metrics.max_advance + 32) >> 6) * factor_ + (overstrike_ ? 1 : 0);
        underlinePos = factor_;
        underlineThickness = factor_;
        strikePos = std::max(1, int32_t(ascent / 3));
        aveWidth = Get('x').advance;
        return true;
    }

    bool SizeOutline(int64_t height) {
        FT_Face f = face_;
        int64_t upem = f->units_per_EM > 0 ? f->units_per_EM : 2048;
        int64_t winAsc = f->ascender, winDesc = -int64_t(f->descender);
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
            os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
            winAsc = os2->usWinAscent;
            winDesc = os2->usWinDescent;
        }
        if (winAsc + winDesc <= 0) {
            winAsc = upem * 8 / 10;
            winDesc = upem - winAsc;
        }
        if (height < 0) {
            ppem = int32_t(-height);
            ascent = int32_t((winAsc * ppem + upem / 2) / upem);
            descent = int32_t((winDesc * ppem + upem / 2) / upem);
        } else {
            ppem = int32_t((height * upem + (winAsc + winDesc) / 2) / (winAsc + winDesc));
            ascent = int32_t((winAsc * height + (winAsc + winDesc) / 2) / (winAsc + winDesc));
            descent = int32_t(height) - ascent;
        }
        ppem = std::max(ppem, 1);
        if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(ppem)) != 0) {
            if (f->num_fixed_sizes <= 0 || FT_Select_Size(f, 0) != 0) {
                return false;
            }
        }
        int64_t gap = int64_t(f->height) - (int64_t(f->ascender) - f->descender);
        int64_t extra = gap - ((winAsc + winDesc) - (int64_t(f->ascender) - f->descender));
        externalLeading = int32_t(std::max<int64_t>(0, (extra * ppem + upem / 2) / upem));
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
        if (os2 != nullptr && os2->xAvgCharWidth > 0) {
            aveWidth = int32_t((int64_t(os2->xAvgCharWidth) * ppem + upem / 2) / upem);
        } else {
            aveWidth = Get('x').advance;
        }
        maxWidth = int32_t((int64_t(f->max_advance_width) * ppem + upem / 2) / upem);
        if (f->underline_position != 0) {
            underlinePos =
                std::max(1, int32_t((-int64_t(f->underline_position) * ppem + upem / 2) / upem));
            underlineThickness =
                std::max(1, int32_t((int64_t(f->underline_thickness) * ppem + upem / 2) / upem));
        }
        strikePos = std::max(1, int32_t(ascent / 3));
        return true;
    }

    // A code point the face lacks gets the face's missing-glyph box.
    void Load(uint32_t cp, Glyph& g) {
        g.loaded = true;
        if (cp == 0 || cp == '\n' || cp == '\r') {
            return;
        }
        if (cp == '\t') {
            cp = ' ';
        }
        FT_Face f = face_;
        if (FT_Load_Char(f, cp, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) {
            return;
        }
        if (oblique_) {
            FT_GlyphSlot_Oblique(f->glyph);
        }
        if (embolden_) {
            FT_GlyphSlot_Embolden(f->glyph);
        }
        g.advance = int32_t((f->glyph->advance.x + 32) >> 6);
        if (f->glyph->format != FT_GLYPH_FORMAT_BITMAP &&
            FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            return;
        }
        const FT_Bitmap& bm = f->glyph->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.pixel_mode != FT_PIXEL_MODE_MONO) {
            return;
        }
        g.left = f->glyph->bitmap_left;
        g.top = f->glyph->bitmap_top;
        g.width = int32_t(bm.width);
        g.rows = int32_t(bm.rows);
        g.coverage.assign(size_t(g.width) * size_t(g.rows), 0);
        for (int32_t y = 0; y < g.rows; ++y) {
            const uint8_t* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
            for (int32_t x = 0; x < g.width; ++x) {
                uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_GRAY
                                ? row[x]
                                : (((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0);
                g.coverage[size_t(y) * size_t(g.width) + size_t(x)] = v;
            }
        }
        if (factor_ > 1) {
            Enlarge(g, factor_);
        }
        if (overstrike_) {
            Overstrike(g);
        }
    }

    // Each pixel becomes a k x k block.
    static void Enlarge(Glyph& g, int k) {
        std::vector<uint8_t> big(size_t(g.width) * size_t(g.rows) * size_t(k) * size_t(k));
        const int32_t w = g.width * k;
        for (int32_t y = 0; y < g.rows * k; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                big[size_t(y) * size_t(w) + size_t(x)] =
                    g.coverage[size_t(y / k) * size_t(g.width) + size_t(x / k)];
            }
        }
        g.coverage = std::move(big);
        g.left *= k;
        g.top *= k;
        g.width = w;
        g.rows *= k;
        g.advance *= k;
    }

    // Bold from a face that has no bold: the glyph drawn again one pixel to the right.
    static void Overstrike(Glyph& g) {
        if (!g.coverage.empty()) {
            const int32_t w = g.width + 1;
            std::vector<uint8_t> bold(size_t(w) * size_t(g.rows), 0);
            for (int32_t y = 0; y < g.rows; ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    uint8_t here =
                        x < g.width ? g.coverage[size_t(y) * size_t(g.width) + size_t(x)] : 0;
                    uint8_t left =
                        x > 0 ? g.coverage[size_t(y) * size_t(g.width) + size_t(x - 1)] : 0;
                    bold[size_t(y) * size_t(w) + size_t(x)] = std::max(here, left);
                }
            }
            g.coverage = std::move(bold);
            g.width = w;
        }
        g.advance += 1;
    }

    FT_Face face_ = nullptr;
    Glyph glyphs_[256];
    std::unordered_map<uint32_t, Glyph> others_;
    FaceSource::Kind source_ = FaceSource::NONE;
    std::string file_;
    int factor_ = 1;
    bool embolden_ = false;
    bool overstrike_ = false;
    bool oblique_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    bool italic_ = false;
    int weight_ = FW_NORMAL;
};

Font::~Font() {
    delete face;
}

FontFace* Font::Face() {
    if (face == nullptr) {
        face = FontFace::Open(log);
    }
    return face;
}

namespace {

FontFace* FaceOf(const DC& dc) {
    return dc.font != nullptr ? dc.font->Face() : nullptr;
}

inline uint8_t Mix(uint8_t dst, uint8_t src, uint32_t a) {
    return uint8_t((dst * (255 - a) + src * a + 127) / 255);
}

// Blends one glyph's coverage over the canvas in the text colour, within clip.
void BlendGlyph(const Canvas& c, const FontFace::Glyph& g, int32_t gx, int32_t gy,
                const ClipBox& clip, COLORREF color) {
    int32_t x0 = std::max(gx, clip.left), x1 = std::min(gx + g.width, clip.right);
    int32_t y0 = std::max(gy, clip.top), y1 = std::min(gy + g.rows, clip.bottom);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const uint32_t solid = c.Encode(color);
    const uint8_t r = GetRValue(color), gr = GetGValue(color), b = GetBValue(color);
    const bool sixteen = c.fmt == Fmt::RGB565 || c.fmt == Fmt::RGB555;
    for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* cov = g.coverage.data() + size_t(y - gy) * size_t(g.width);
        uint16_t* row16 = reinterpret_cast<uint16_t*>(c.Row(y));
        for (int32_t x = x0; x < x1; ++x) {
            uint32_t a = cov[x - gx];
            if (a == 0) {
                continue;
            }
            if (a == 255) {
                if (sixteen) {
                    row16[x] = uint16_t(solid);
                } else {
                    c.PutRaw(x, y, solid);
                }
                continue;
            }
            COLORREF d = sixteen ? c.Decode(row16[x]) : c.Get(x, y);
            COLORREF m =
                RGB(Mix(GetRValue(d), r, a), Mix(GetGValue(d), gr, a), Mix(GetBValue(d), b, a));
            if (sixteen) {
                row16[x] = uint16_t(c.Encode(m));
            } else {
                c.Put(x, y, m);
            }
        }
    }
}

// Calls f(byte index, code point) for each character of UTF-8 text. A byte outside a
// well-formed sequence is a character of its own, read as Windows-1252.
template <typename F>
void ForEachCharacter(const char* text, size_t count, F f) {
    const std::string_view s(text, count);
    for (size_t i = 0; i < count;) {
        const utf8::Char c = utf8::Decode(s, i);
        f(i, c.wellFormed ? c.code : CodePoint(uint8_t(c.code)));
        i += c.length;
    }
}

ClipBox Intersect(const ClipBox& a, const Canvas& c) {
    return {std::max(a.left, c.Left()), std::max(a.top, c.Top()), std::min(a.right, c.Right()),
            std::min(a.bottom, c.Bottom())};
}

}  // namespace

int32_t TextWidth(const DC& dc, const char* text, size_t count) {
    FontFace* f = FaceOf(dc);
    if (f == nullptr) {
        return 0;
    }
    int64_t w = 0;
    ForEachCharacter(text, count, [&](size_t, uint32_t code) { w += f->Get(code).advance; });
    return int32_t(std::min<int64_t>(w, INT32_MAX / 4));
}

void FontMetrics(const DC& dc, TEXTMETRIC& tm) {
    tm = TEXTMETRIC{};
    FontFace* f = FaceOf(dc);
    if (f == nullptr) {
        return;
    }
    tm.tmAscent = f->ascent;
    tm.tmDescent = f->descent;
    tm.tmHeight = f->ascent + f->descent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - f->ppem);
    tm.tmExternalLeading = f->externalLeading;
    tm.tmAveCharWidth = f->aveWidth;
    tm.tmMaxCharWidth = f->maxWidth;
    tm.tmWeight = f->weight();
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = f->italic() ? 1 : 0;
    tm.tmUnderlined = f->underline() ? 1 : 0;
    tm.tmStruckOut = f->strikeOut() ? 1 : 0;
    tm.tmPitchAndFamily = 0x06;  // variable pitch, TrueType
    tm.tmCharSet = BYTE(dc.font->log.lfCharSet);
}

void DrawTextRun(const DC& dc, const Canvas& canvas, int32_t x, int32_t y, const char* text,
                 size_t count, const ClipBox& clipIn, const uint8_t* underlineAt) {
    FontFace* f = FaceOf(dc);
    if (f == nullptr || !canvas.Valid()) {
        return;
    }
    ClipBox clip = Intersect(clipIn, canvas);
    if (clip.left >= clip.right || clip.top >= clip.bottom) {
        return;
    }
    int32_t height = f->ascent + f->descent;
    if (dc.bkMode == OPAQUE) {
        int32_t w = TextWidth(dc, text, count);
        FillBox(canvas, std::max(x, clip.left), std::max(y, clip.top), std::min(x + w, clip.right),
                std::min(y + height, clip.bottom), dc.bkColor);
    }
    int32_t baseline = y + f->ascent;
    int32_t pen = x;
    ForEachCharacter(text, count, [&](size_t i, uint32_t code) {
        const FontFace::Glyph& g = f->Get(code);
        if (!g.coverage.empty()) {
            BlendGlyph(canvas, g, pen + g.left, baseline - g.top, clip, dc.textColor);
        }
        bool under = f->underline() || (underlineAt != nullptr && underlineAt[i]);
        if (under) {
            int32_t top = baseline + f->underlinePos;
            FillBox(canvas, std::max(pen, clip.left), std::max(top, clip.top),
                    std::min(pen + g.advance, clip.right),
                    std::min(top + f->underlineThickness, clip.bottom), dc.textColor);
        }
        if (f->strikeOut()) {
            int32_t top = baseline - f->strikePos;
            FillBox(canvas, std::max(pen, clip.left), std::max(top, clip.top),
                    std::min(pen + g.advance, clip.right),
                    std::min(top + f->underlineThickness, clip.bottom), dc.textColor);
        }
        pen += g.advance;
    });
}

}  // namespace platform::gdi

using namespace platform::gdi;

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONT log{};
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = BYTE(italic);
    log.lfUnderline = BYTE(underline);
    log.lfStrikeOut = BYTE(strikeOut);
    log.lfCharSet = BYTE(charSet);
    log.lfOutPrecision = BYTE(outPrecision);
    log.lfClipPrecision = BYTE(clipPrecision);
    log.lfQuality = BYTE(quality);
    log.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName != nullptr) {
        std::strncpy(log.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return CreateFontIndirect(&log);
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (font == nullptr) {
        return nullptr;
    }
    auto f = std::make_unique<Font>();
    f->log = *font;
    f->log.lfFaceName[LF_FACESIZE - 1] = '\0';
    return reinterpret_cast<HFONT>(Register(std::move(f)));
}

BOOL GetTextMetrics(HDC handle, TEXTMETRIC* metrics) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || metrics == nullptr || FaceOf(*dc) == nullptr) {
        return FALSE;
    }
    FontMetrics(*dc, *metrics);
    return TRUE;
}

namespace platform {

FaceSource DescribeFontFace(HFONT font) {
    platform::gdi::Font* f = platform::gdi::AsFont(reinterpret_cast<HGDIOBJ>(font));
    platform::gdi::FontFace* face = f != nullptr ? f->Face() : nullptr;
    return face != nullptr ? face->Source() : FaceSource{};
}

}  // namespace platform
