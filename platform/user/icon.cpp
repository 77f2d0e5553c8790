// Icons and cursors as images: loaded from the resources, shared, and the system's own.
#include "platform/user/window.h"

#include <memory>
#include <string>

#include "platform/gdi/image_codec.h"
#include "platform/res/resources.h"

namespace platform::user {

platform::HostImage ToHostImage(const platform::DecodedImage& d) {
    platform::HostImage h;
    h.width = d.width;
    h.height = d.height;
    h.argb = d.argb;
    h.hotX = d.hotX;
    h.hotY = d.hotY;
    return h;
}

HICON AddIcon(std::unique_ptr<Icon> icon) {
    uintptr_t v = S().nextIcon++;
    S().icons[v] = std::move(icon);
    return reinterpret_cast<HICON>(v);
}

HICON LoadShared(HINSTANCE instance, LPCSTR name, bool cursor) {
    // Icons and cursors of one name are different resources.
    std::string key = cursor ? "C" : "I";
    if (IS_INTRESOURCE(name))
        key.append("#").append(std::to_string(ResourceIdOf(name)));
    else if (name)
        key += name;
    auto cacheKey = std::make_pair(reinterpret_cast<uintptr_t>(instance), key);
    auto found = S().sharedIcons.find(cacheKey);
    if (found != S().sharedIcons.end())
        return found->second;

    auto icon = std::make_unique<Icon>();
    if (!instance) {
        if (!IS_INTRESOURCE(name))
            return nullptr;
        uintptr_t id = ResourceIdOf(name);
        if (cursor && id == 32512)
            icon->systemArrow = true;
        else if (cursor || !SystemIconImage(id, icon->image))
            return nullptr;
    } else {
        platform::ResourceData data;
        auto type = cursor ? platform::ResourceType::Cursor : platform::ResourceType::Icon;
        if (!platform::FindResourceData(instance, name, type, data))
            return nullptr;
        platform::DecodedImage decoded;
        bool ok = cursor ? platform::DecodeCur(data.bytes, data.size, decoded)
                         : platform::DecodeIco(data.bytes, data.size, GetSystemMetrics(SM_CXICON),
                                               decoded);
        if (!ok)
            return nullptr;
        icon->image = ToHostImage(decoded);
    }
    HICON h = AddIcon(std::move(icon));
    S().sharedIcons[cacheKey] = h;
    return h;
}

}  // namespace platform::user

using namespace platform::user;

HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
    return LoadShared(instance, name, false);
}

BOOL DestroyIcon(HICON icon) {
    uintptr_t v = reinterpret_cast<uintptr_t>(icon);
    if (!S().icons.count(v))
        return FALSE;
    // Loaded icons are shared and live as long as the program.
    return TRUE;
}

namespace platform {

const HostImage* IconImage(HICON icon) {
    auto it = S().icons.find(reinterpret_cast<uintptr_t>(icon));
    if (it == S().icons.end() || it->second->systemArrow)
        return nullptr;
    return &it->second->image;
}

}  // namespace platform
