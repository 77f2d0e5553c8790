// The platform's text is UTF-8: window and control text, list items, file names, the
// clipboard and what GDI draws are bytes of UTF-8 in std::string and char arrays, and
// WM_CHAR carries a character's Unicode code point. A byte that does not begin a
// well-formed sequence is one character of its own: it is kept, moved over and deleted
// whole, and GDI draws it as Windows-1252 reads it. So no text is refused or changed for
// its encoding, and a file name's bytes come back exactly as they were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::utf8 {

struct Char {
    uint32_t code = 0;  // the code point, or the byte standing alone
    size_t length = 1;  // bytes it takes
    bool wellFormed = false;
};

// The character at text[at] (at < text.size()). A sequence is well formed when its lead
// byte is followed by the right number of continuation bytes and it is the shortest form
// of a code point up to U+10FFFF that is not a surrogate.
inline Char Decode(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    size_t length = 0;
    uint32_t code = 0, least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return {lead, 1, false};
    }
    if (text.size() - at < length) {
        return {lead, 1, false};
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) {
            return {lead, 1, false};
        }
        code = (code << 6) | (byte(at + k) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {lead, 1, false};
    }
    return {code, length, true};
}

// The boundary after the character at `at` (at < text.size()).
inline size_t Next(std::string_view text, size_t at) {
    return at + Decode(text, at).length;
}

// The boundary before `at` (0 < at <= text.size(), at a boundary).
inline size_t Previous(std::string_view text, size_t at) {
    for (size_t k = 2; k <= 4 && k <= at; ++k) {
        Char c = Decode(text, at - k);
        if (c.wellFormed && c.length == k) {
            return at - k;
        }
    }
    return at - 1;
}

// The last boundary at or before `at`: where text may be cut to at most `at` bytes without
// splitting a character.
inline size_t Floor(std::string_view text, size_t at) {
    if (at >= text.size()) {
        return text.size();
    }
    for (size_t k = 1; k <= 3 && k <= at; ++k) {
        Char c = Decode(text, at - k);
        if (c.wellFormed && c.length > k) {
            return at - k;  // at falls inside this character
        }
    }
    return at;
}

// Appends the code point's sequence; one that is not a character (a surrogate, beyond
// U+10FFFF) appends U+FFFD instead.
inline void Append(std::string& out, uint32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The small letter of a capital, for matching without regard to case: ASCII, Latin-1 and
// Latin Extended-A, the letters a name typed here can hold. Anything else is itself.
inline uint32_t FoldCase(uint32_t code) {
    if ((code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7)) {
        return code + 0x20;
    }
    if (code == 0x130 || code == 0x178) {
        return code == 0x130 ? 'i' : 0xFF;  // I with a dot above; Y with diaeresis
    }
    // Latin Extended-A pairs capital and small letter as even and odd, but from U+0139 to
    // U+0148 and from U+0179 to U+017E as odd and even; U+0138 and U+0149 stand alone.
    const bool oddCapitals = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
    if (code >= 0x100 && code <= 0x17F && code != 0x138 && code != 0x149 && code != 0x17F) {
        return (code % 2 == 1) == oddCapitals ? code + 1 : code;
    }
    return code;
}

}  // namespace platform::utf8
