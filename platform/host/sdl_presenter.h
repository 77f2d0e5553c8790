// Draws the 640 x 480 picture through an SDL renderer: into a viewport of any size, either
// with nearest pixels or sharp (nearest to a whole factor, then smoothly to the size).
// Shared by the SDL host and its benchmark; SDL's own types stay declared, not included.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/host/viewport.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class SdlPresenter {
  public:
    explicit SdlPresenter(SDL_Renderer* renderer) : renderer_(renderer) {}
    ~SdlPresenter();
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    // Makes the picture's texture; false with the reason when the renderer can't.
    bool Create(std::string& whyNot);
    // Copies a page of 5-6-5 pixels into the picture.
    void Upload(const uint8_t* pixels, int32_t pitch);
    // Draws the picture at v, the rest of the output black, and presents it.
    void Draw(const Viewport& v, bool sharp);
    // The renderer lost what its target textures held; the enlarged picture is redone.
    void TargetsLost() { enlargedCurrent_ = false; }
    // The renderer lost every texture: they are made again, and the picture needs a new
    // Upload.
    bool Recreate(std::string& whyNot);

    // The whole factor last used for the enlarged picture, 0 when none was needed.
    int32_t EnlargedFactor() const { return enlargedFactor_; }

  private:
    struct TextureDeleter {
        void operator()(SDL_Texture* texture) const;
    };
    using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

    // The picture enlarged by factor with nearest pixels; null when it can't be made.
    SDL_Texture* Enlarged(int32_t factor);
    void FillBars(const Viewport& v, int32_t outputWidth, int32_t outputHeight);

    SDL_Renderer* renderer_;
    TexturePtr picture_;
    TexturePtr enlarged_;
    int32_t enlargedFactor_ = 0;
    bool enlargedCurrent_ = false;
};

}  // namespace platform
