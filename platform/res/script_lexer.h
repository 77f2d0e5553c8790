// The resource script's words: numbers, strings, names, and the punctuation between them.
#pragma once

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::script {

enum class Tok { End, Word, Number, String, Comma, Bar, Open, Close };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // a word (upper case) or a string's contents
    int64_t number = 0;
    int line = 1;
};

class Lexer {
  public:
    explicit Lexer(std::string_view text) : s_(text) {}

    // False with a message for a token that can't be read.
    bool Next(Token& t, std::string& error) {
        SkipSpace();
        t = Token{};
        t.line = line_;
        if (p_ >= s_.size()) {
            return true;
        }
        char c = s_[p_];
        if (c == ',') {
            ++p_;
            t.kind = Tok::Comma;
            return true;
        }
        if (c == '|') {
            ++p_;
            t.kind = Tok::Bar;
            return true;
        }
        if (c == '{' || c == '}') {
            ++p_;
            t.kind = c == '{' ? Tok::Open : Tok::Close;
            return true;
        }
        if (c == '"') {
            return ReadString(t, error);
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
            return ReadNumber(t, error);
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = p_;
            while (p_ < s_.size() &&
                   (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_')) {
                ++p_;
            }
            t.kind = Tok::Word;
            for (size_t i = start; i < p_; ++i) {
                t.text += char(std::toupper(static_cast<unsigned char>(s_[i])));
            }
            if (t.text == "BEGIN") {
                t.kind = Tok::Open;
            } else if (t.text == "END") {
                t.kind = Tok::Close;
            }
            return true;
        }
        error = "unexpected character '" + std::string(1, c) + "'";
        return false;
    }

  private:
    void SkipSpace() {
        while (p_ < s_.size()) {
            char c = s_[p_];
            if (c == '\n') {
                ++line_;
                ++p_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++p_;
            } else if (s_.substr(p_, 2) == "//" || (c == '#' && AtLineStart())) {
                // Comments, and preprocessor lines, which this reader has no use for.
                while (p_ < s_.size() && s_[p_] != '\n') {
                    ++p_;
                }
            } else if (s_.substr(p_, 2) == "/*") {
                size_t end = s_.find("*/", p_ + 2);
                size_t stop = end == std::string_view::npos ? s_.size() : end + 2;
                for (; p_ < stop; ++p_) {
                    line_ += s_[p_] == '\n';
                }
            } else {
                break;
            }
        }
    }

    bool AtLineStart() const {
        for (size_t i = p_; i > 0; --i) {
            char c = s_[i - 1];
            if (c == '\n') {
                return true;
            }
            if (c != ' ' && c != '\t' && c != '\r') {
                return false;
            }
        }
        return true;
    }

    bool ReadString(Token& t, std::string& error) {
        ++p_;
        for (;;) {
            if (p_ >= s_.size() || s_[p_] == '\n') {
                error = "unterminated string";
                return false;
            }
            char c = s_[p_++];
            if (c == '"') {
                // "" inside a string is one quote.
                if (p_ < s_.size() && s_[p_] == '"') {
                    t.text += '"';
                    ++p_;
                    continue;
                }
                break;
            }
            if (c == '\\' && p_ < s_.size()) {
                char e = s_[p_++];
                // The escapes the script knows (\a is the menu's right-align mark, 0x08); any
                // other keeps its backslash.
                constexpr std::string_view ESCAPED = "ntra\\\"", MEANS = "\n\t\r\b\\\"";
                size_t k = ESCAPED.find(e);
                if (k != std::string_view::npos) {
                    t.text += MEANS[k];
                } else {
                    t.text += '\\';
                    t.text += e;
                }
                continue;
            }
            t.text += c;
        }
        t.kind = Tok::String;
        return true;
    }

    bool ReadNumber(Token& t, std::string& error) {
        bool negative = s_[p_] == '-';
        if (negative) {
            ++p_;
        }
        size_t start = p_;
        int base = 10;
        if (s_.substr(p_, 2) == "0x" || s_.substr(p_, 2) == "0X") {
            base = 16;
            p_ += 2;
            start = p_;
        }
        int64_t v = 0;
        while (p_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[p_]))) {
            char c = s_[p_];
            int d = std::isdigit(static_cast<unsigned char>(c))
                        ? c - '0'
                        : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
            if (d >= base) {
                break;
            }
            v = v * base + d;
            if (v > 0xFFFFFFFFll) {
                error = "number out of range";
                return false;
            }
            ++p_;
        }
        if (p_ == start) {
            error = "malformed number";
            return false;
        }
        // The resource compiler's long suffix.
        if (p_ < s_.size() && (s_[p_] == 'L' || s_[p_] == 'l')) {
            ++p_;
        }
        if (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_')) {
            error = "malformed number";
            return false;
        }
        t.kind = Tok::Number;
        t.number = negative ? -v : v;
        return true;
    }

    std::string_view s_;
    size_t p_ = 0;
    int line_ = 1;
};

}  // namespace platform::script
