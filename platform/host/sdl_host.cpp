#include <SDL.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/keymap.h"
#include "platform/host/screen.h"
#include "platform/host/viewport.h"

namespace platform {
namespace {

struct SdlDeleter {
    void operator()(SDL_Window* p) const { SDL_DestroyWindow(p); }
    void operator()(SDL_Renderer* p) const { SDL_DestroyRenderer(p); }
    void operator()(SDL_Texture* p) const { SDL_DestroyTexture(p); }
    void operator()(SDL_Surface* p) const { SDL_FreeSurface(p); }
    void operator()(SDL_Cursor* p) const { SDL_FreeCursor(p); }
};
template <typename T>
using SdlPtr = std::unique_ptr<T, SdlDeleter>;

// SIGHUP (the terminal or the session gone) is a close request too, as SDL makes SIGINT
// and SIGTERM one. The handler only sets the flag; the event loop turns it into the event.
volatile std::sig_atomic_t g_hangUp = 0;

extern "C" void OnHangUp(int) {
    g_hangUp = 1;
}

// Only where nobody chose otherwise: a program started under nohup keeps ignoring it.
void CatchHangUp() {
    struct sigaction current {};
    if (sigaction(SIGHUP, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction action {};
        action.sa_handler = OnHangUp;
        sigemptyset(&action.sa_mask);
        sigaction(SIGHUP, &action, nullptr);
    }
}

// An ARGB image as an SDL surface, each pixel repeated scale x scale times.
SdlPtr<SDL_Surface> SurfaceFromImage(const HostImage& image, int scale) {
    if (image.width <= 0 || image.height <= 0 ||
        image.argb.size() < size_t(image.width) * size_t(image.height)) {
        return nullptr;
    }
    SdlPtr<SDL_Surface> s(SDL_CreateRGBSurfaceWithFormat(
        0, image.width * scale, image.height * scale, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!s) {
        return nullptr;
    }
    for (int y = 0; y < s->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            row[x] = image.argb[size_t(y / scale) * size_t(image.width) + size_t(x / scale)];
        }
    }
    return s;
}

class SdlHost final : public Host {
  public:
    ~SdlHost() override {
        cursor_.reset();
        texture_.reset();
        renderer_.reset();
        window_.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool Open() {
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // One scaled copy of a small picture, and only when it changes, needs no GPU; the
        // software renderer spares loading a GL stack (on machines without a GPU, a whole
        // software GL of some 60 MB). SDL_RENDER_DRIVER in the environment still decides.
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        CatchHangUp();
        // Made at the desktop's size, so that it covers the screen even where no window
        // manager honours the full-screen request.
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
            desktop.w = SCREEN_WIDTH;
            desktop.h = SCREEN_HEIGHT;
        }
        window_.reset(SDL_CreateWindow("vorla", 0, 0, desktop.w, desktop.h,
                                       SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE));
        if (!window_) {
            return false;
        }
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
        if (!renderer_) {
            return false;
        }
        texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, SCREEN_WIDTH, SCREEN_HEIGHT));
        if (!texture_) {
            return false;
        }
        SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
        SDL_StartTextInput();
        Redraw();
        return true;
    }

    bool AcquireScreen(int32_t width, int32_t height, int32_t bitsPerPixel) override {
        const bool asksMode = width != 0 || height != 0 || bitsPerPixel != 0;
        // The real mode never changes; the picture is scaled onto the desktop instead.
        if (asksMode && (width != SCREEN_WIDTH || height != SCREEN_HEIGHT || bitsPerPixel != 16)) {
            return false;
        }
        return window_ != nullptr;
    }

    void ReleaseScreen() override {}

    void Present(const uint8_t* pixels, int32_t pitch) override {
        // A page flip that shows the same picture again (an idle board) costs nothing:
        // the window keeps what it shows, and exposure redraws it from the texture.
        if (SamePicture(pixels, pitch)) {
            return;
        }
        void* out = nullptr;
        int outPitch = 0;
        if (SDL_LockTexture(texture_.get(), nullptr, &out, &outPitch) != 0) {
            return;
        }
        // Our own expansion, so no renderer keeps a hidden 16-bit copy.
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            const auto* src = reinterpret_cast<const uint16_t*>(pixels + ptrdiff_t(y) * pitch);
            auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out) + y * outPitch);
            for (int x = 0; x < SCREEN_WIDTH; ++x) {
                const uint32_t p = src[x];
                const uint32_t r = (p >> 11) & 0x1F;
                const uint32_t g = (p >> 5) & 0x3F;
                const uint32_t b = p & 0x1F;
                dst[x] = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) |
                         (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
            }
        }
        SDL_UnlockTexture(texture_.get());
        Redraw();
        // Full screen is asked for once the first picture is up: without a window manager
        // to confirm it, the request waits its whole timeout, and the picture need not.
        if (fullScreenPending_) {
            fullScreenPending_ = false;
            SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
            Redraw();
        }
    }

    bool PollEvent(HostEvent& out) override {
        if (g_hangUp != 0) {
            g_hangUp = 0;
            Push(HostEvent{.type = HostEventType::CloseRequested});
        }
        SDL_Event e;
        while (queue_.empty() && SDL_PollEvent(&e)) {
            Translate(e);
        }
        if (queue_.empty()) {
            return false;
        }
        out = queue_.front();
        queue_.pop_front();
        return true;
    }

    void WaitForEvent(uint32_t timeoutMs) override {
        if (!queue_.empty() || g_hangUp != 0) {
            return;
        }
        SDL_Event e;
        const int timeout = timeoutMs > uint32_t(INT_MAX) ? INT_MAX : int(timeoutMs);
        if (SDL_WaitEventTimeout(&e, timeout)) {
            Translate(e);
        }
    }

    uint32_t NowMs() const override { return SDL_GetTicks(); }

    void SetTitle(const std::string& title) override {
        SDL_SetWindowTitle(window_.get(), title.c_str());
    }

    void SetIcon(const HostImage& image) override {
        if (SdlPtr<SDL_Surface> s = SurfaceFromImage(image, 1)) {
            SDL_SetWindowIcon(window_.get(), s.get());
        }
    }

    void SetCursor(const HostImage* image) override {
        hasCursorImage_ = image != nullptr;
        if (image != nullptr) {
            cursorImage_ = *image;
        }
        cursorScale_ = 0;
        UpdateCursor();
    }

    void ShowCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

    void GrabMouse(bool grab) override {
        if (SDL_CaptureMouse(grab ? SDL_TRUE : SDL_FALSE) != 0) {
            SDL_SetWindowGrab(window_.get(), grab ? SDL_TRUE : SDL_FALSE);
        }
    }

    std::string GetClipboardText() override {
        char* text = SDL_GetClipboardText();
        std::string result = text ? text : "";
        SDL_free(text);
        return result;
    }

    void SetClipboardText(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }

  private:
    bool SamePicture(const uint8_t* pixels, int32_t pitch) {
        constexpr size_t ROW = size_t(SCREEN_WIDTH) * 2;
        bool same = shown_.size() == ROW * SCREEN_HEIGHT;
        if (same) {
            for (int y = 0; y < SCREEN_HEIGHT && same; ++y) {
                same = std::memcmp(shown_.data() + ROW * size_t(y), pixels + ptrdiff_t(y) * pitch,
                                   ROW) == 0;
            }
        }
        if (!same) {
            shown_.resize(ROW * SCREEN_HEIGHT);
            for (int y = 0; y < SCREEN_HEIGHT; ++y) {
                std::memcpy(shown_.data() + ROW * size_t(y), pixels + ptrdiff_t(y) * pitch, ROW);
            }
        }
        return same;
    }

    Viewport WindowViewport() const {
        int w = 0;
        int h = 0;
        SDL_GetWindowSize(window_.get(), &w, &h);
        return FitPicture(w, h);
    }

    void Redraw() {
        int w = 0;
        int h = 0;
        SDL_GetRendererOutputSize(renderer_.get(), &w, &h);
        const Viewport v = FitPicture(w, h);
        SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
        SDL_RenderClear(renderer_.get());
        const SDL_Rect dst{v.x, v.y, v.width, v.height};
        SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &dst);
        SDL_RenderPresent(renderer_.get());
    }

    void UpdateCursor() {
        if (!hasCursorImage_) {
            cursor_.reset();
            SDL_SetCursor(SDL_GetDefaultCursor());
            return;
        }
        const int scale = std::max(1, WindowViewport().width / SCREEN_WIDTH);
        if (scale == cursorScale_ && cursor_) {
            return;
        }
        SdlPtr<SDL_Surface> s = SurfaceFromImage(cursorImage_, scale);
        if (!s) {
            return;
        }
        SdlPtr<SDL_Cursor> c(
            SDL_CreateColorCursor(s.get(), cursorImage_.hotX * scale, cursorImage_.hotY * scale));
        if (!c) {
            return;
        }
        SDL_SetCursor(c.get());
        cursor_ = std::move(c);
        cursorScale_ = scale;
    }

    void Push(HostEvent e) {
        e.timeMs = SDL_GetTicks();
        queue_.push_back(e);
    }

    void LoseScreen() {
        if (!lost_) {
            lost_ = true;
            NotifyScreenLost();
            Push(HostEvent{.type = HostEventType::Minimized});
        }
    }

    void RegainScreen() {
        if (lost_) {
            lost_ = false;
            NotifyScreenRegained();
            Push(HostEvent{.type = HostEventType::Restored});
        }
        Redraw();
    }

    bool FullScreen() const {
        return (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    }

    void ToggleFullScreen() {
        if (!FullScreen()) {
            SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else {
            SDL_SetWindowFullscreen(window_.get(), 0);
            // A window of the largest whole scale that leaves room for the desktop.
            SDL_Rect usable{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
            SDL_GetDisplayUsableBounds(0, &usable);
            const int scale = std::max(
                1, std::min((usable.w - 64) / SCREEN_WIDTH, (usable.h - 64) / SCREEN_HEIGHT));
            SDL_SetWindowSize(window_.get(), SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale);
            SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        Redraw();
        UpdateCursor();
    }

    void MouseEvent(HostEventType type, int wx, int wy, int button) {
        HostEvent e{.type = type};
        WindowToPicture(WindowViewport(), wx, wy, e.x, e.y);
        e.button = button;
        Push(e);
    }

    void Translate(const SDL_Event& e) {
        switch (e.type) {
            case SDL_QUIT:
                Push(HostEvent{.type = HostEventType::CloseRequested});
                break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_MINIMIZED:
                        minimized_ = true;
                        LoseScreen();
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        minimized_ = false;
                        RegainScreen();
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        if (FullScreen()) {
                            LoseScreen();
                        }
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        if (!minimized_) {
                            RegainScreen();
                        }
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        Redraw();
                        UpdateCursor();
                        break;
                    default:
                        break;
                }
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const bool down = e.type == SDL_KEYDOWN;
                const SDL_Keycode key = e.key.keysym.sym;
                if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) &&
                    ((e.key.keysym.mod & KMOD_ALT) || altEnterHeld_)) {
                    // Alt+Enter belongs to the host: window or full screen.
                    if (down && !e.key.repeat) {
                        ToggleFullScreen();
                    }
                    altEnterHeld_ = down;
                    break;
                }
                const uint32_t vk = VirtualKeyFromSdlKey(key);
                if (vk != 0) {
                    Push(HostEvent{.type = down ? HostEventType::KeyDown : HostEventType::KeyUp,
                                   .virtualKey = vk,
                                   .repeat = e.key.repeat != 0});
                }
                break;
            }
            case SDL_TEXTINPUT:
                PushText(e.text.text);
                break;
            case SDL_MOUSEMOTION:
                MouseEvent(HostEventType::MouseMove, e.motion.x, e.motion.y, 0);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                int button = 0;
                if (e.button.button == SDL_BUTTON_LEFT) {
                    button = 1;
                } else if (e.button.button == SDL_BUTTON_RIGHT) {
                    button = 2;
                } else if (e.button.button == SDL_BUTTON_MIDDLE) {
                    button = 3;
                }
                if (button != 0) {
                    MouseEvent(e.type == SDL_MOUSEBUTTONDOWN ? HostEventType::MouseButtonDown
                                                             : HostEventType::MouseButtonUp,
                               e.button.x, e.button.y, button);
                }
                break;
            }
            default:
                break;
        }
    }

    // One Text event per code point of SDL's UTF-8; malformed bytes are dropped.
    void PushText(const char* text) {
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        while (*p) {
            uint32_t cp = 0;
            int extra = 0;
            if (*p < 0x80) {
                cp = *p;
            } else if ((*p & 0xE0) == 0xC0) {
                cp = *p & 0x1F, extra = 1;
            } else if ((*p & 0xF0) == 0xE0) {
                cp = *p & 0x0F, extra = 2;
            } else if ((*p & 0xF8) == 0xF0) {
                cp = *p & 0x07, extra = 3;
            } else {
                ++p;
                continue;
            }
            ++p;
            bool ok = true;
            for (int i = 0; i < extra; ++i) {
                if ((*p & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (*p & 0x3F);
                ++p;
            }
            if (ok) {
                Push(HostEvent{.type = HostEventType::Text, .character = cp});
            }
        }
    }

    SdlPtr<SDL_Window> window_;
    SdlPtr<SDL_Renderer> renderer_;
    SdlPtr<SDL_Texture> texture_;
    SdlPtr<SDL_Cursor> cursor_;
    HostImage cursorImage_;
    bool fullScreenPending_ = true;
    std::vector<uint8_t> shown_;  // the picture last uploaded, 5-6-5
    bool hasCursorImage_ = false;
    int cursorScale_ = 0;
    std::deque<HostEvent> queue_;
    bool lost_ = false;
    bool minimized_ = false;
    bool altEnterHeld_ = false;
};

}  // namespace

std::unique_ptr<Host> CreateSdlHost() {
    auto host = std::make_unique<SdlHost>();
    if (!host->Open()) {
        return nullptr;
    }
    return host;
}

}  // namespace platform
