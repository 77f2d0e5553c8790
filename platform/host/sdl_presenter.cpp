#include "platform/host/sdl_presenter.h"

#include <SDL.h>

#include <cstddef>

#include "platform/host/screen.h"

namespace platform {
namespace {

// The format of the usual X and Wayland window surface, so that the software renderer
// copies and scales without converting; no alpha, so nothing is blended.
constexpr Uint32 TEXTURE_FORMAT = SDL_PIXELFORMAT_RGB888;

SDL_Texture* MakeTexture(SDL_Renderer* renderer, int access, int width, int height,
                         SDL_ScaleMode scaleMode) {
    SDL_Texture* texture = SDL_CreateTexture(renderer, TEXTURE_FORMAT, access, width, height);
    if (texture != nullptr) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(texture, scaleMode);
    }
    return texture;
}

}  // namespace

void SdlPresenter::TextureDeleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

SdlPresenter::~SdlPresenter() = default;

bool SdlPresenter::Create(std::string& whyNot) {
    picture_.reset(MakeTexture(renderer_, SDL_TEXTUREACCESS_STREAMING, SCREEN_WIDTH, SCREEN_HEIGHT,
                               SDL_ScaleModeNearest));
    if (!picture_) {
        whyNot = std::string("cannot draw in the window: ") + SDL_GetError();
        return false;
    }
    enlarged_.reset();
    enlargedFactor_ = 0;
    enlargedCurrent_ = false;
    return true;
}

bool SdlPresenter::Recreate(std::string& whyNot) {
    // The old textures are gone with the device; releasing them first frees what SDL kept.
    enlarged_.reset();
    picture_.reset();
    return Create(whyNot);
}

void SdlPresenter::Upload(const uint8_t* pixels, int32_t pitch) {
    void* out = nullptr;
    int outPitch = 0;
    if (!picture_ || SDL_LockTexture(picture_.get(), nullptr, &out, &outPitch) != 0) {
        return;
    }
    // Our own expansion (replicating the high bits), so no renderer keeps a hidden 16-bit
    // copy or rounds the colours its own way.
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const auto* src = reinterpret_cast<const uint16_t*>(pixels + ptrdiff_t(y) * pitch);
        auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out) + y * outPitch);
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const uint32_t p = src[x];
            const uint32_t r = (p >> 11) & 0x1F;
            const uint32_t g = (p >> 5) & 0x3F;
            const uint32_t b = p & 0x1F;
            dst[x] = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
                     ((b << 3) | (b >> 2));
        }
    }
    SDL_UnlockTexture(picture_.get());
    enlargedCurrent_ = false;
}

SDL_Texture* SdlPresenter::Enlarged(int32_t factor) {
    if (!enlarged_ || enlargedFactor_ != factor) {
        // Made again only when the factor changes, which a new output size seldom does.
        enlarged_.reset(MakeTexture(renderer_, SDL_TEXTUREACCESS_TARGET, SCREEN_WIDTH * factor,
                                    SCREEN_HEIGHT * factor, SDL_ScaleModeLinear));
        enlargedFactor_ = enlarged_ ? factor : 0;
        enlargedCurrent_ = false;
        if (!enlarged_) {
            return nullptr;
        }
    }
    if (!enlargedCurrent_) {
        if (SDL_SetRenderTarget(renderer_, enlarged_.get()) != 0) {
            return nullptr;
        }
        SDL_RenderCopy(renderer_, picture_.get(), nullptr, nullptr);
        SDL_SetRenderTarget(renderer_, nullptr);
        enlargedCurrent_ = true;
    }
    return enlarged_.get();
}

void SdlPresenter::FillBars(const Viewport& v, int32_t outputWidth, int32_t outputHeight) {
    // Only the bars: clearing the whole output first would write every pixel twice.
    const SDL_Rect bars[4] = {
        {0, 0, outputWidth, v.y},
        {0, v.y + v.height, outputWidth, outputHeight - v.y - v.height},
        {0, v.y, v.x, v.height},
        {v.x + v.width, v.y, outputWidth - v.x - v.width, v.height},
    };
    SDL_Rect nonEmpty[4];
    int count = 0;
    for (const SDL_Rect& r : bars) {
        if (r.w > 0 && r.h > 0) {
            nonEmpty[count++] = r;
        }
    }
    if (count > 0) {
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderFillRects(renderer_, nonEmpty, count);
    }
}

void SdlPresenter::Draw(const Viewport& v, bool sharp) {
    int w = 0;
    int h = 0;
    if (!picture_ || SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) {
        return;
    }
    SDL_Texture* source = picture_.get();
    SDL_ScaleMode pictureScale = SDL_ScaleModeNearest;
    if (sharp && !WholeMultiple(v)) {
        const int32_t factor = SharpFactor(v);
        if (factor == 1) {
            pictureScale = SDL_ScaleModeLinear;  // smaller than the picture: only shrinking
        } else if (SDL_Texture* enlarged = Enlarged(factor)) {
            source = enlarged;
        }
    }
    SDL_SetTextureScaleMode(picture_.get(), pictureScale);
    FillBars(v, w, h);
    if (v.width > 0 && v.height > 0) {
        const SDL_Rect dst{v.x, v.y, v.width, v.height};
        SDL_RenderCopy(renderer_, source, nullptr, &dst);
    }
    SDL_RenderPresent(renderer_);
}

}  // namespace platform
