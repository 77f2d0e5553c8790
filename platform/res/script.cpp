// The resource-script reader: menus, dialogs and the string table from the .rc text the
// build embeds, with each control statement given the class and full style the resource
// compiler gives it.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/res/resources.h"
#include "platform/res/script_lexer.h"
#include "platform/res/templates.h"
#include "platform/styles.h"

namespace platform {
namespace {

using script::Lexer;
using script::Tok;
using script::Token;

struct StyleName {
    const char* name;
    DWORD value;
};

constexpr StyleName STYLE_NAMES[] = {
    {"WS_POPUP", WS_POPUP},
    {"WS_CHILD", WS_CHILD},
    {"WS_VISIBLE", WS_VISIBLE},
    {"WS_DISABLED", WS_DISABLED},
    {"WS_CAPTION", WS_CAPTION},
    {"WS_BORDER", WS_BORDER},
    {"WS_DLGFRAME", WS_DLGFRAME},
    {"WS_SYSMENU", WS_SYSMENU},
    {"WS_GROUP", WS_GROUP},
    {"WS_TABSTOP", WS_TABSTOP},
    {"DS_MODALFRAME", DS_MODALFRAME},
    {"DS_SETFONT", DS_SETFONT},
    {"DS_CENTER", DS_CENTER},
    {"ES_LEFT", ES_LEFT},
    {"ES_CENTER", ES_CENTER},
    {"ES_RIGHT", ES_RIGHT},
    {"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
    {"ES_READONLY", ES_READONLY},
    {"ES_NUMBER", ES_NUMBER},
    {"SS_LEFT", SS_LEFT},
    {"SS_CENTER", SS_CENTER},
    {"SS_RIGHT", SS_RIGHT},
    {"SS_ICON", SS_ICON},
    {"SS_NOPREFIX", SS_NOPREFIX},
    {"BS_PUSHBUTTON", BS_PUSHBUTTON},
    {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
    {"BS_GROUPBOX", BS_GROUPBOX},
};

struct ControlKind {
    const char* keyword;
    const char* className;
    DWORD style;        // besides WS_CHILD | WS_VISIBLE
    bool hasText;       // EDITTEXT has none
    bool sizeOptional;  // ICON takes its size from the icon
};

constexpr ControlKind CONTROL_KINDS[] = {
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, true, false},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, true, false},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, true, false},
    {"ICON", "STATIC", SS_ICON, true, true},
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, true, false},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, true, false},
    {"GROUPBOX", "BUTTON", BS_GROUPBOX, true, false},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, false, false},
};

class Parser {
  public:
    explicit Parser(std::string_view text) : lex_(text) {}

    bool Parse(ResourceScript& out, std::string& error) {
        if (!Advance()) {
            return Fail(error);
        }
        while (tok_.kind != Tok::End) {
            if (!Resource(out)) {
                return Fail(error);
            }
        }
        return true;
    }

  private:
    bool Fail(std::string& error) {
        error = std::string("line ") + std::to_string(tok_.line) + ": " + message_;
        return false;
    }

    bool Error(const std::string& message) {
        if (message_.empty()) {
            message_ = message;
        }
        return false;
    }

    bool Advance() {
        std::string lexError;
        if (!lex_.Next(tok_, lexError)) {
            return Error(lexError);
        }
        return true;
    }

    bool Expect(Tok kind, const char* what) {
        if (tok_.kind != kind) {
            return Error(std::string("expected ") + what);
        }
        return Advance();
    }

    bool IsWord(const char* w) const { return tok_.kind == Tok::Word && tok_.text == w; }

    // An optional comma between arguments, as the resource compiler allows.
    bool SkipComma() { return tok_.kind == Tok::Comma ? Advance() : true; }

    // BEGIN, the entries up to END, each read by entry, and END.
    template <typename Entry>
    bool Block(Entry entry) {
        if (!Expect(Tok::Open, "BEGIN")) {
            return false;
        }
        while (tok_.kind != Tok::Close) {
            if (tok_.kind == Tok::End) {
                return Error("missing END");
            }
            if (!entry()) {
                return false;
            }
        }
        return Advance();
    }

    bool Number(int64_t& v, int64_t lo, int64_t hi, const char* what) {
        if (tok_.kind != Tok::Number) {
            return Error(std::string("expected ") + what);
        }
        if (tok_.number < lo || tok_.number > hi) {
            return Error(std::string(what) + " out of range");
        }
        v = tok_.number;
        return Advance();
    }

    bool Coordinate(int16_t& v, const char* what) {
        int64_t n = 0;
        if (!Number(n, -32768, 32767, what)) {
            return false;
        }
        v = int16_t(n);
        return true;
    }

    bool String(std::string& s, const char* what) {
        if (tok_.kind != Tok::String) {
            return Error(std::string("expected ") + what);
        }
        s = tok_.text;
        return Advance();
    }

    // term ('|' term)*, each term a style name or a number, optionally after NOT, which
    // clears those bits from the style the statement starts with.
    bool Style(DWORD& style) {
        for (;;) {
            bool negate = false;
            if (IsWord("NOT")) {
                negate = true;
                if (!Advance()) {
                    return false;
                }
            }
            DWORD v = 0;
            if (tok_.kind == Tok::Number) {
                v = DWORD(tok_.number);
            } else if (tok_.kind == Tok::Word) {
                bool found = false;
                for (const StyleName& n : STYLE_NAMES) {
                    if (tok_.text == n.name) {
                        v = n.value;
                        found = true;
                    }
                }
                if (!found) {
                    return Error("unknown style " + tok_.text);
                }
            } else {
                return Error("expected a style");
            }
            style = negate ? (style & ~v) : (style | v);
            if (!Advance()) {
                return false;
            }
            if (tok_.kind != Tok::Bar) {
                return true;
            }
            if (!Advance()) {
                return false;
            }
        }
    }

    bool Resource(ResourceScript& out) {
        if (IsWord("STRINGTABLE")) {
            return Advance() && StringTable(out);
        }
        std::string key;
        if (tok_.kind == Tok::Number) {
            if (tok_.number < 0 || tok_.number > 0xFFFF) {
                return Error("resource id out of range");
            }
            key = std::string("#") + std::to_string(tok_.number);
        } else if (tok_.kind == Tok::Word) {
            key = tok_.text;
        } else {
            return Error("expected a resource name");
        }
        if (!Advance()) {
            return false;
        }
        if (IsWord("MENU")) {
            if (out.menus.count(key)) {
                return Error("menu " + key + " defined twice");
            }
            MenuTemplate menu;
            if (!Advance() || !SkipOptions() || !MenuBody(menu.items)) {
                return false;
            }
            out.menus[key] = std::move(menu);
            return true;
        }
        if (IsWord("DIALOG")) {
            if (out.dialogs.count(key)) {
                return Error("dialog " + key + " defined twice");
            }
            DialogTemplate dialog;
            if (!Advance() || !Dialog(dialog)) {
                return false;
            }
            out.dialogs[key] = std::move(dialog);
            return true;
        }
        return Error("unknown resource type");
    }

    // Load and memory options (DISCARDABLE, PRELOAD...) mean nothing here.
    bool SkipOptions() {
        while (tok_.kind == Tok::Word) {
            if (!Advance()) {
                return false;
            }
        }
        return true;
    }

    bool MenuBody(std::vector<MenuItemTemplate>& items) {
        return Block([&] {
            MenuItemTemplate item;
            if (!MenuEntry(item)) {
                return false;
            }
            items.push_back(std::move(item));
            return true;
        });
    }

    bool MenuEntry(MenuItemTemplate& item) {
        if (IsWord("MENUITEM")) {
            if (!Advance()) {
                return false;
            }
            if (IsWord("SEPARATOR")) {
                item.separator = true;
                return Advance();
            }
            int64_t id = 0;
            if (!String(item.text, "item text") || !Expect(Tok::Comma, "','") ||
                !Number(id, 0, 0xFFFF, "command id") || !ItemOptions(item)) {
                return false;
            }
            item.id = UINT(id);
            return true;
        }
        if (IsWord("POPUP")) {
            item.popup = true;
            return Advance() && String(item.text, "pop-up text") && ItemOptions(item) &&
                   MenuBody(item.items);
        }
        return Error("expected MENUITEM, POPUP or END");
    }

    bool ItemOptions(MenuItemTemplate& item) {
        for (;;) {
            if (tok_.kind == Tok::Comma) {
                if (!Advance()) {
                    return false;
                }
                continue;
            }
            if (IsWord("CHECKED")) {
                item.checked = true;
            } else if (IsWord("GRAYED")) {
                item.grayed = true;
            } else if (IsWord("INACTIVE")) {
                item.disabled = true;
            } else if (IsWord("MENUBREAK") || IsWord("MENUBARBREAK") || IsWord("HELP")) {
            } else {
                return true;
            }
            if (!Advance()) {
                return false;
            }
        }
    }

    bool Dialog(DialogTemplate& d) {
        if (!SkipOptions() || !Coordinate(d.x, "x") || !Expect(Tok::Comma, "','") ||
            !Coordinate(d.y, "y") || !Expect(Tok::Comma, "','") || !Coordinate(d.cx, "width") ||
            !Expect(Tok::Comma, "','") || !Coordinate(d.cy, "height")) {
            return false;
        }
        // Without a STYLE statement a dialog gets the compiler's default.
        DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        bool font = false, caption = false;
        while (tok_.kind == Tok::Word) {
            std::string statement = tok_.text;
            if (!Advance()) {
                return false;
            }
            if (statement == "STYLE") {
                style = 0;
                if (!Style(style)) {
                    return false;
                }
            } else if (statement == "EXSTYLE") {
                if (!Style(d.exStyle)) {
                    return false;
                }
            } else if (statement == "CAPTION") {
                caption = true;
                if (!String(d.caption, "caption")) {
                    return false;
                }
            } else if (statement == "FONT") {
                int64_t points = 0;
                font = true;
                if (!Number(points, 1, 0x7FFF, "point size") || !Expect(Tok::Comma, "','") ||
                    !String(d.fontFace, "font face")) {
                    return false;
                }
                d.pointSize = int32_t(points);
            } else {
                return Error("unknown dialog statement " + statement);
            }
        }
        d.style = style | (font ? DS_SETFONT : 0) | (caption ? WS_CAPTION : 0);
        return Block([&] {
            DialogItemTemplate item;
            if (!Control(item)) {
                return false;
            }
            d.items.push_back(std::move(item));
            return true;
        });
    }

    bool Control(DialogItemTemplate& item) {
        if (tok_.kind != Tok::Word) {
            return Error("expected a control statement");
        }
        const ControlKind* kind = nullptr;
        for (const ControlKind& k : CONTROL_KINDS) {
            if (tok_.text == k.keyword) {
                kind = &k;
            }
        }
        if (kind == nullptr) {
            return Error("unknown control " + tok_.text);
        }
        if (!Advance()) {
            return false;
        }
        item.className = kind->className;
        item.style = WS_CHILD | WS_VISIBLE | kind->style;
        if (kind->hasText) {
            // An icon is named by its id or its name.
            if (tok_.kind == Tok::Number && kind->sizeOptional) {
                item.text = std::to_string(tok_.number);
                if (!Advance()) {
                    return false;
                }
            } else if (tok_.kind == Tok::Word && kind->sizeOptional) {
                item.text = tok_.text;
                if (!Advance()) {
                    return false;
                }
            } else if (!String(item.text, "control text")) {
                return false;
            }
            if (!Expect(Tok::Comma, "','")) {
                return false;
            }
        }
        int64_t id = 0;
        if (!Number(id, -1, 0xFFFF, "control id") || !Expect(Tok::Comma, "','") ||
            !Coordinate(item.x, "x") || !Expect(Tok::Comma, "','") || !Coordinate(item.y, "y")) {
            return false;
        }
        item.id = int32_t(id);
        if (kind->sizeOptional && tok_.kind != Tok::Comma) {
            return true;
        }
        if (!Expect(Tok::Comma, "','") || !Coordinate(item.cx, "width") ||
            !Expect(Tok::Comma, "','") || !Coordinate(item.cy, "height")) {
            return false;
        }
        if (tok_.kind == Tok::Comma) {
            if (!Advance() || !Style(item.style)) {
                return false;
            }
            if (tok_.kind == Tok::Comma) {
                if (!Advance() || !Style(item.exStyle)) {
                    return false;
                }
            }
        }
        return true;
    }

    bool StringTable(ResourceScript& out) {
        return SkipOptions() && Block([&] {
                   int64_t id = 0;
                   std::string text;
                   if (!Number(id, 0, 0xFFFF, "string id") || !SkipComma() ||
                       !String(text, "string text")) {
                       return false;
                   }
                   if (out.strings.count(UINT(id))) {
                       return Error(std::string("string ") + std::to_string(id) + " defined twice");
                   }
                   out.strings[UINT(id)] = std::move(text);
                   return true;
               });
    }

    Lexer lex_;
    Token tok_;
    std::string message_;
};

// The embedded script, read once.
const ResourceScript* EmbeddedScript(HINSTANCE module) {
    static std::optional<ResourceScript> script;
    static bool tried = false;
    if (module == nullptr) {
        return nullptr;
    }
    if (!tried) {
        tried = true;
        ResourceData data;
        if (FindResourceData(module, "VORLA", ResourceType::Script, data)) {
            ResourceScript parsed;
            std::string error;
            std::string_view text(reinterpret_cast<const char*>(data.bytes), data.size);
            if (ParseResourceScript(text, parsed, &error)) {
                script = std::move(parsed);
            } else {
                std::fprintf(stderr, "vorla.rc: %s\n", error.c_str());
            }
        }
    }
    return script ? &*script : nullptr;
}

std::string KeyFor(LPCSTR name) {
    if (name == nullptr) {
        return {};
    }
    if (IS_INTRESOURCE(name)) {
        std::string key = "#";
        key += std::to_string(ResourceIdOf(name));
        return key;
    }
    std::string key;
    for (const char* p = name; *p; ++p) {
        key += char(std::toupper(static_cast<unsigned char>(*p)));
    }
    // "#0132" names the same resource as "#132".
    if (key.size() > 1 && key[0] == '#') {
        char* end = nullptr;
        unsigned long id = std::strtoul(key.c_str() + 1, &end, 10);
        if (end != nullptr && *end == '\0') {
            key = std::string("#") + std::to_string(id);
        }
    }
    return key;
}

}  // namespace

bool ParseResourceScript(std::string_view text, ResourceScript& out, std::string* error) {
    ResourceScript parsed;
    std::string message;
    if (!Parser(text).Parse(parsed, message)) {
        if (error != nullptr) {
            *error = message;
        }
        return false;
    }
    out = std::move(parsed);
    return true;
}

namespace {

// Copies the template of the embedded script's table (menus or dialogs) that name names.
template <typename Template>
bool LoadTemplate(HINSTANCE module, std::map<std::string, Template> ResourceScript::*table,
                  LPCSTR name, Template& out) {
    const ResourceScript* script = EmbeddedScript(module);
    if (script == nullptr) {
        return false;
    }
    auto it = (script->*table).find(KeyFor(name));
    if (it == (script->*table).end()) {
        return false;
    }
    out = it->second;
    return true;
}

}  // namespace

bool LoadMenuTemplate(HINSTANCE module, LPCSTR name, MenuTemplate& out) {
    return LoadTemplate(module, &ResourceScript::menus, name, out);
}

bool LoadDialogTemplate(HINSTANCE module, LPCSTR name, DialogTemplate& out) {
    return LoadTemplate(module, &ResourceScript::dialogs, name, out);
}

bool LoadStringResource(HINSTANCE module, UINT id, std::string& out) {
    const ResourceScript* script = EmbeddedScript(module);
    if (script == nullptr) {
        return false;
    }
    auto it = script->strings.find(id);
    if (it == script->strings.end()) {
        return false;
    }
    out = it->second;
    return true;
}

}  // namespace platform
