// Menus as objects: loading from the script, building, queries and item states.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/menus/menu.h"
#include "platform/menus/menu_store.h"
#include "platform/res/templates.h"

namespace platform {

std::map<uintptr_t, std::unique_ptr<MenuObject>>& MenuTable() {
    static std::map<uintptr_t, std::unique_ptr<MenuObject>> table;
    return table;
}

MenuObject* FindMenu(HMENU menu) {
    auto it = MenuTable().find(reinterpret_cast<uintptr_t>(menu));
    return it == MenuTable().end() ? nullptr : it->second.get();
}

namespace {

HMENU NewMenu() {
    // Handles are never reused, so a stale one can't reach a newer menu.
    static uintptr_t next = 0x10000;
    uintptr_t v = next;
    next += 4;
    MenuTable()[v] = std::make_unique<MenuObject>();
    return reinterpret_cast<HMENU>(v);
}

void Build(HMENU menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& t : items) {
        UINT state = (t.checked ? MF_CHECKED : MF_UNCHECKED) | (t.grayed ? MF_GRAYED : MF_ENABLED) |
                     (t.disabled ? MF_DISABLED : MF_ENABLED);
        if (t.separator) {
            AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
        } else if (t.popup) {
            HMENU sub = CreatePopupMenu();
            Build(sub, t.items);
            AppendMenu(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub), t.text.c_str());
        } else {
            AppendMenu(menu, MF_STRING | state, t.id, t.text.c_str());
        }
    }
}

// The item that item/flags names: by position in menu, or by command anywhere below it.
MenuItem* Locate(HMENU menu, UINT item, UINT flags, int depth = 0) {
    MenuObject* m = FindMenu(menu);
    if (m == nullptr || depth > 16) {
        return nullptr;
    }
    if (flags & MF_BYPOSITION) {
        return item < m->items.size() ? &m->items[item] : nullptr;
    }
    for (MenuItem& i : m->items) {
        if (!(i.flags & (MF_POPUP | MF_SEPARATOR)) && i.id == item) {
            return &i;
        }
    }
    for (MenuItem& i : m->items) {
        if (i.flags & MF_POPUP) {
            if (MenuItem* found = Locate(i.sub, item, flags, depth + 1)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace

}  // namespace platform

using platform::FindMenu;
using platform::MenuItem;
using platform::MenuObject;

HMENU LoadMenu(HINSTANCE instance, LPCSTR name) {
    platform::MenuTemplate t;
    if (!platform::LoadMenuTemplate(instance, name, t)) {
        return nullptr;
    }
    HMENU menu = platform::NewMenu();
    platform::Build(menu, t.items);
    return menu;
}

HMENU CreatePopupMenu() {
    return platform::NewMenu();
}

HMENU GetSubMenu(HMENU menu, int position) {
    MenuObject* m = FindMenu(menu);
    if (m == nullptr || position < 0 || size_t(position) >= m->items.size()) {
        return nullptr;
    }
    const MenuItem& i = m->items[size_t(position)];
    return (i.flags & MF_POPUP) ? i.sub : nullptr;
}

int GetMenuItemCount(HMENU menu) {
    MenuObject* m = FindMenu(menu);
    return m ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    MenuObject* m = FindMenu(menu);
    if (m == nullptr || position < 0 || size_t(position) >= m->items.size()) {
        return 0xFFFFFFFF;
    }
    const MenuItem& i = m->items[size_t(position)];
    if (i.flags & MF_POPUP) {
        return 0xFFFFFFFF;
    }
    return (i.flags & MF_SEPARATOR) ? 0 : i.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* i = platform::Locate(menu, item, flags);
    if (i == nullptr) {
        return 0xFFFFFFFF;
    }
    if (i->flags & MF_POPUP) {
        // A sub-menu reports its item count in the high byte.
        MenuObject* sub = FindMenu(i->sub);
        UINT count = sub ? UINT(sub->items.size()) : 0;
        return (count << 8) | (i->flags & 0xFF);
    }
    return i->flags;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int maxCount, UINT flags) {
    MenuItem* i = platform::Locate(menu, item, flags);
    if (i == nullptr) {
        return 0;
    }
    int length = int(i->text.size());
    if (buffer == nullptr) {
        return length;
    }
    if (maxCount <= 0) {
        return 0;
    }
    int n = std::min(length, maxCount - 1);
    i->text.copy(buffer, size_t(n));
    buffer[n] = '\0';
    return n;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuObject* m = FindMenu(menu);
    if (m == nullptr) {
        return FALSE;
    }
    MenuItem item;
    item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        HMENU sub = reinterpret_cast<HMENU>(idOrPopup);
        // A menu can't contain itself, directly or through a sub-menu.
        if (FindMenu(sub) == nullptr || sub == menu) {
            return FALSE;
        }
        item.sub = sub;
    } else if (!(flags & MF_SEPARATOR)) {
        item.id = UINT(idOrPopup & 0xFFFF);
    }
    if (!(flags & MF_SEPARATOR) && text != nullptr) {
        item.text = text;
    }
    m->items.push_back(std::move(item));
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuItem* i = platform::Locate(menu, item, check);
    if (i == nullptr) {
        return 0xFFFFFFFF;
    }
    DWORD previous = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuItem* i = platform::Locate(menu, item, enable);
    if (i == nullptr) {
        return -1;
    }
    BOOL previous = BOOL(i->flags & (MF_GRAYED | MF_DISABLED));
    i->flags = (i->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL DestroyMenu(HMENU menu) {
    auto& table = platform::MenuTable();
    auto it = table.find(reinterpret_cast<uintptr_t>(menu));
    if (it == table.end()) {
        return FALSE;
    }
    // Sub-menus go with their menu.
    std::unique_ptr<MenuObject> owned = std::move(it->second);
    table.erase(it);
    for (const MenuItem& i : owned->items) {
        if (i.flags & MF_POPUP) {
            DestroyMenu(i.sub);
        }
    }
    return TRUE;
}
