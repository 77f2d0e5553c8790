#include "platform/host/sdl_offscreen.h"

#include <SDL.h>

#include <string>

#include "platform/host/sdl_presenter.h"

namespace platform {

struct SdlOffscreen::Impl {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<SdlPresenter> presenter;

    ~Impl() {
        presenter.reset();
        if (renderer != nullptr) {
            SDL_DestroyRenderer(renderer);
        }
        if (surface != nullptr) {
            SDL_FreeSurface(surface);
        }
    }
};

SdlOffscreen::SdlOffscreen(int32_t width, int32_t height) : impl_(std::make_unique<Impl>()) {
    impl_->surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    if (impl_->surface == nullptr) {
        return;
    }
    impl_->renderer = SDL_CreateSoftwareRenderer(impl_->surface);
    if (impl_->renderer == nullptr) {
        return;
    }
    impl_->presenter = std::make_unique<SdlPresenter>(impl_->renderer);
    std::string whyNot;
    if (!impl_->presenter->Create(whyNot)) {
        impl_->presenter.reset();
    }
}

SdlOffscreen::~SdlOffscreen() = default;

bool SdlOffscreen::Ready() const {
    return impl_->presenter != nullptr;
}

void SdlOffscreen::Present(const uint8_t* pixels, int32_t pitch, const Viewport& v, bool sharp) {
    if (Ready()) {
        impl_->presenter->Upload(pixels, pitch);
        impl_->presenter->Draw(v, sharp);
    }
}

void SdlOffscreen::Redraw(const Viewport& v, bool sharp) {
    if (Ready()) {
        impl_->presenter->Draw(v, sharp);
    }
}

uint32_t SdlOffscreen::Pixel(int32_t x, int32_t y) const {
    const SDL_Surface* s = impl_->surface;
    if (s == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) {
        return 0;
    }
    const auto* row = static_cast<const uint8_t*>(s->pixels) + ptrdiff_t(y) * s->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
}

int32_t SdlOffscreen::EnlargedFactor() const {
    return Ready() ? impl_->presenter->EnlargedFactor() : 0;
}

}  // namespace platform
