#include "platform/host/headless.h"

#include <cstddef>
#include <cstring>

#include "platform/host/screen.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace platform {
namespace {

std::vector<uint8_t> ToRgb24(const std::vector<uint16_t>& page) {
    std::vector<uint8_t> rgb(page.size() * 3);
    for (size_t i = 0; i < page.size(); ++i) {
        const uint16_t p = page[i];
        const uint8_t r5 = uint8_t(p >> 11);
        const uint8_t g6 = uint8_t((p >> 5) & 0x3F);
        const uint8_t b5 = uint8_t(p & 0x1F);
        rgb[i * 3 + 0] = uint8_t((r5 << 3) | (r5 >> 2));
        rgb[i * 3 + 1] = uint8_t((g6 << 2) | (g6 >> 4));
        rgb[i * 3 + 2] = uint8_t((b5 << 3) | (b5 >> 2));
    }
    return rgb;
}

}  // namespace

bool HeadlessHost::AcquireScreen(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (refuseScreen_) {
        return false;
    }
    const bool asksMode = width != 0 || height != 0 || bitsPerPixel != 0;
    if (asksMode &&
        (refuseMode_ || width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bitsPerPixel != 16)) {
        return false;
    }
    hasScreen_ = true;
    return true;
}

void HeadlessHost::ReleaseScreen() {
    hasScreen_ = false;
}

void HeadlessHost::Present(const uint8_t* pixels, int32_t pitch) {
    presented_.resize(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
    for (int32_t y = 0; y < SCREEN_HEIGHT; ++y) {
        std::memcpy(&presented_[size_t(y) * SCREEN_WIDTH], pixels + ptrdiff_t(y) * pitch,
                    SCREEN_WIDTH * sizeof(uint16_t));
    }
    ++presentCount_;
}

bool HeadlessHost::PollEvent(HostEvent& out) {
    if (events_.empty()) {
        return false;
    }
    out = events_.front();
    events_.pop_front();
    return true;
}

void HeadlessHost::WaitForEvent(uint32_t timeoutMs) {
    if (events_.empty()) {
        now_ += timeoutMs;
    }
}

void HeadlessHost::SetCursor(const HostImage* image) {
    hasCursor_ = image != nullptr;
    cursor_ = image ? *image : HostImage{};
}

void HeadlessHost::PushEvent(const HostEvent& event) {
    HostEvent e = event;
    e.timeMs = now_;
    events_.push_back(e);
}

void HeadlessHost::ForceScreenLoss() {
    NotifyScreenLost();
    PushEvent(HostEvent{.type = HostEventType::Minimized});
}

void HeadlessHost::RegainScreen() {
    NotifyScreenRegained();
    PushEvent(HostEvent{.type = HostEventType::Restored});
}

bool HeadlessHost::SavePng(const std::string& path) const {
    if (presented_.empty()) {
        return false;
    }
    const std::vector<uint8_t> rgb = ToRgb24(presented_);
    return stbi_write_png(path.c_str(), SCREEN_WIDTH, SCREEN_HEIGHT, 3, rgb.data(),
                          SCREEN_WIDTH * 3) != 0;
}

bool HeadlessHost::SaveBmp(const std::string& path) const {
    if (presented_.empty()) {
        return false;
    }
    const std::vector<uint8_t> rgb = ToRgb24(presented_);
    return stbi_write_bmp(path.c_str(), SCREEN_WIDTH, SCREEN_HEIGHT, 3, rgb.data()) != 0;
}

}  // namespace platform
