#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/host_system.h"
#include "platform/host/keymap.h"
#include "platform/host/screen.h"
#include "platform/host/sdl_presenter.h"
#include "platform/host/sdl_surroundings.h"
#include "platform/host/sharp_image.h"
#include "platform/host/shown_page.h"
#include "platform/host/video_drivers.h"
#include "platform/host/viewport.h"
#include "platform/utf8.h"

namespace platform {
namespace {

struct SdlDeleter {
    void operator()(SDL_Window* p) const { SDL_DestroyWindow(p); }
    void operator()(SDL_Renderer* p) const { SDL_DestroyRenderer(p); }
    void operator()(SDL_Surface* p) const { SDL_FreeSurface(p); }
    void operator()(SDL_Cursor* p) const { SDL_FreeCursor(p); }
};
// Browsers ignore a cursor image larger than this on either side.
constexpr int32_t MAX_PAGE_CURSOR = 128;

template <typename T>
using SdlPtr = std::unique_ptr<T, SdlDeleter>;

// An ARGB image as an SDL surface.
SdlPtr<SDL_Surface> SurfaceFromImage(const HostImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.argb.size() < size_t(image.width) * size_t(image.height)) {
        return nullptr;
    }
    SdlPtr<SDL_Surface> s(
        SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!s) {
        return nullptr;
    }
    for (int y = 0; y < s->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        std::memcpy(row, image.argb.data() + size_t(y) * size_t(image.width),
                    size_t(image.width) * 4);
    }
    return s;
}

class SdlHost final : public Host {
  public:
    explicit SdlHost(const HostOptions& options) : options_(options) {}

    ~SdlHost() override {
        cursor_.reset();
        presenter_.reset();
        renderer_.reset();
        window_.reset();
        if (videoOpen_) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }

    bool Open(std::string& whyNot) {
        // Built without SDL's main() wrapper: nothing else tells SDL the program is ready.
        SDL_SetMainReady();
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
        // Scaled copies of a small picture, made only when it changes, need no GPU; the
        // software renderer spares loading a GL stack (on machines without a GPU, a whole
        // software GL of some 60 MB). SDL_RENDER_DRIVER in the environment still decides.
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
        if (!OpenVideo(whyNot)) {
            return false;
        }
        // A hang-up is a close request too, as SDL makes SIGINT and SIGTERM one.
        CatchHangUp();
        surroundings::PrepareEventWait();
        const WindowPlace start = StartPlace();
        window_.reset(SDL_CreateWindow("vorla", start.place.x, start.place.y, start.place.w,
                                       start.place.h, start.flags));
        if (!window_) {
            whyNot = std::string("cannot open a window: ") + SDL_GetError();
            return false;
        }
        SDL_SetWindowMinimumSize(window_.get(), SCREEN_WIDTH / 4, SCREEN_HEIGHT / 4);
        fullScreenPending_ = start.fullScreen;
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
        if (!renderer_) {
            whyNot = std::string("cannot draw in the window: ") + SDL_GetError();
            return false;
        }
        presenter_ = std::make_unique<SdlPresenter>(renderer_.get());
        if (!presenter_->Create(whyNot)) {
            return false;
        }
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
        // A page flip that shows the same picture again (an idle board) costs only the
        // comparison: nothing is uploaded, scaled or presented, the window keeps what it
        // shows, and exposure redraws it from the textures.
        if (!shown_.Update(pixels, pitch)) {
            return;
        }
        presenter_->Upload(pixels, pitch);
        Redraw();
        // Full screen is asked for once the first picture is up: without a window manager
        // to confirm it, the request waits its whole timeout, and the picture need not.
        if (fullScreenPending_) {
            fullScreenPending_ = false;
            EnterFullScreen();
            Redraw();
        }
    }

    bool PollEvent(HostEvent& out) override {
        if (TakeHangUp()) {
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
        if (!queue_.empty() || HangUpPending()) {
            return;
        }
        surroundings::WaitForEvent(timeoutMs);
    }

    uint32_t NowMs() const override { return SDL_GetTicks(); }

    void SetTitle(const std::string& title) override {
        SDL_SetWindowTitle(window_.get(), title.c_str());
    }

    void SetIcon(const HostImage& image) override {
        if (SdlPtr<SDL_Surface> s = SurfaceFromImage(image)) {
            SDL_SetWindowIcon(window_.get(), s.get());
        }
    }

    void SetCursor(const HostImage* image) override {
        hasCursorImage_ = image != nullptr;
        if (image != nullptr) {
            cursorImage_ = *image;
        }
        cursorWidth_ = 0;
        cursorHeight_ = 0;
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
    struct WindowPlace {
        SDL_Rect place{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        Uint32 flags = 0;
        bool fullScreen = false;  // asked for once the first picture is up
    };

    WindowPlace StartPlace() const {
        WindowPlace start;
        // In a web page the canvas keeps the picture's own size and the page scales it.
        // Full screen is the page's to ask for: a browser grants it only in answer to a
        // click or a key, and a request at start blacks the canvas out instead.
        if (surroundings::InWebPage()) {
            return start;
        }
        // For full screen the window is made at the display's size, so that it covers the
        // screen even where no window manager honours the full-screen request.
        start.flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (options_.startInWindow) {
            start.place = FramedPlace(0);
        } else {
            SDL_GetDisplayBounds(0, &start.place);
            start.flags |= SDL_WINDOW_BORDERLESS;
            start.fullScreen = true;
        }
        return start;
    }

    // SDL, left to itself, settles on an invisible driver when no display answers, and
    // the program would run on unseen. So the drivers that show a window are tried one by
    // one, and an invisible one is used only when the user names it.
    bool OpenVideo(std::string& whyNot) {
        DisplayEnvironment env;
        env.videoDriver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        env.display = std::getenv("DISPLAY");
        env.waylandDisplay = std::getenv("WAYLAND_DISPLAY");
        env.runtimeDir = std::getenv("XDG_RUNTIME_DIR");
        std::vector<DriverFailure> failures;
        if (DriversNamed(env)) {
            videoOpen_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            if (!videoOpen_) {
                failures.push_back({env.videoDriver, SDL_GetError()});
            }
        } else {
            std::vector<std::string> builtIn;
            for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
                builtIn.emplace_back(SDL_GetVideoDriver(i));
            }
            for (const std::string& driver : DriversToTry(builtIn, env)) {
                SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
                videoOpen_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
                const std::string error = videoOpen_ ? "" : SDL_GetError();
                SDL_ResetHint(SDL_HINT_VIDEODRIVER);
                if (videoOpen_) {
                    break;
                }
                failures.push_back({driver, error});
            }
        }
        if (!videoOpen_) {
            whyNot = "cannot open a display: ";
            whyNot += NoDisplayReason(failures, env);
        }
        return videoOpen_;
    }

    // The window's size in points (mouse positions come in them) and the drawable's in
    // pixels (what is drawn); they differ on a HiDPI desktop.
    struct Sizes {
        int windowWidth = 0;
        int windowHeight = 0;
        int outputWidth = 0;
        int outputHeight = 0;
    };

    Sizes CurrentSizes() const {
        Sizes s;
        SDL_GetWindowSize(window_.get(), &s.windowWidth, &s.windowHeight);
        if (SDL_GetRendererOutputSize(renderer_.get(), &s.outputWidth, &s.outputHeight) != 0) {
            s.outputWidth = s.windowWidth;
            s.outputHeight = s.windowHeight;
        }
        return s;
    }

    Viewport PictureViewport(const Sizes& s) const {
        return FitPicture(s.outputWidth, s.outputHeight, options_.scale);
    }

    void Redraw() { presenter_->Draw(PictureViewport(CurrentSizes()), IsSharp()); }

    bool IsSharp() const { return options_.scale == ScaleMode::Sharp; }

    // The cursor at the picture's scale, enlarged the way the picture is.
    void UpdateCursor() {
        if (!hasCursorImage_) {
            cursor_.reset();
            SDL_SetCursor(SDL_GetDefaultCursor());
            return;
        }
        const Sizes s = CurrentSizes();
        const Viewport v = PictureViewport(s);
        int32_t w = ShownLength(cursorImage_.width, v, s.windowWidth, s.outputWidth);
        int32_t h = ShownLength(cursorImage_.height, v, s.windowHeight, s.outputHeight);
        // In a web page the page enlarges the canvas, and the cursor with it.
        if (const int32_t pageWidth = surroundings::PictureWidthInPage(); pageWidth > 0) {
            const Viewport inPage{0, 0, pageWidth, 0};
            w = std::min(ShownLength(cursorImage_.width, inPage, 1, 1), MAX_PAGE_CURSOR);
            h = std::min(ShownLength(cursorImage_.height, inPage, 1, 1), MAX_PAGE_CURSOR);
        }
        if (cursor_ && w == cursorWidth_ && h == cursorHeight_) {
            return;
        }
        HostImage shown = ScaleImageSharp(cursorImage_, w, h);
        HardenAlpha(shown);
        SdlPtr<SDL_Surface> surface = SurfaceFromImage(shown);
        if (!surface) {
            return;
        }
        SdlPtr<SDL_Cursor> c(SDL_CreateColorCursor(surface.get(), shown.hotX, shown.hotY));
        if (!c) {
            return;
        }
        SDL_SetCursor(c.get());
        cursor_ = std::move(c);
        cursorWidth_ = w;
        cursorHeight_ = h;
    }

    // The renderer lost its textures (a GPU reset): they are made again from the page kept.
    void RenderDeviceReset() {
        std::string whyNot;
        if (presenter_->Recreate(whyNot) && shown_.Valid()) {
            presenter_->Upload(shown_.Pixels(), SCREEN_WIDTH * 2);
        }
        Redraw();
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

    int CurrentDisplay() const { return std::max(0, SDL_GetWindowDisplayIndex(window_.get())); }

    // A framed window's place: a whole multiple of the picture, centred on the usable part
    // of the display (without panels and docks).
    static SDL_Rect FramedPlace(int display) {
        SDL_Rect usable{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        if (SDL_GetDisplayUsableBounds(display, &usable) != 0) {
            SDL_GetDisplayBounds(display, &usable);
        }
        const Viewport v = WindowedSize(usable.w, usable.h);
        return SDL_Rect{usable.x + std::max(0, v.x), usable.y + std::max(0, v.y), v.width,
                        v.height};
    }

    void EnterFullScreen() {
        // Without a window manager nobody acts on the full-screen request, yet SDL takes
        // the window to be the screen's size from then on and draws for that size; so the
        // window is first made to cover the screen itself, without a frame.
        SDL_Rect bounds{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        SDL_GetDisplayBounds(CurrentDisplay(), &bounds);
        SDL_SetWindowBordered(window_.get(), SDL_FALSE);
        SDL_SetWindowPosition(window_.get(), bounds.x, bounds.y);
        SDL_SetWindowSize(window_.get(), bounds.w, bounds.h);
        SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    }

    // A normal window: the desktop's frame and title, movable and resizable.
    void EnterFramedWindow() {
        const int display = CurrentDisplay();
        SDL_SetWindowFullscreen(window_.get(), 0);
        SDL_SetWindowBordered(window_.get(), SDL_TRUE);
        SDL_SetWindowResizable(window_.get(), SDL_TRUE);
        const SDL_Rect place = FramedPlace(display);
        SDL_SetWindowSize(window_.get(), place.w, place.h);
        SDL_SetWindowPosition(window_.get(), place.x, place.y);
    }

    void ToggleFullScreen() {
        if (!FullScreen()) {
            EnterFullScreen();
        } else {
            EnterFramedWindow();
        }
        Redraw();
        UpdateCursor();
    }

    void MouseEvent(HostEventType type, int wx, int wy, int button) {
        HostEvent e{.type = type};
        const Sizes s = CurrentSizes();
        WindowToPicture(PictureViewport(s), PointToPixel(wx, s.windowWidth, s.outputWidth),
                        PointToPixel(wy, s.windowHeight, s.outputHeight), e.x, e.y);
        e.button = button;
        Push(e);
    }

    void Translate(const SDL_Event& e) {
        switch (e.type) {
            case SDL_QUIT:
                Push(HostEvent{.type = HostEventType::CloseRequested});
                break;
            case SDL_WINDOWEVENT:
                TranslateWindow(e.window);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                TranslateKey(e.key);
                break;
            case SDL_TEXTINPUT:
                PushText(e.text.text);
                break;
            case SDL_MOUSEMOTION:
                // The page may have resized the picture, which SDL does not hear of.
                if (surroundings::InWebPage() && hasCursorImage_) {
                    UpdateCursor();
                }
                MouseEvent(HostEventType::MouseMove, e.motion.x, e.motion.y, 0);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                TranslateButton(e.button);
                break;
            case SDL_MOUSEWHEEL:
                TranslateWheel(e.wheel);
                break;
            case SDL_RENDER_TARGETS_RESET:
                presenter_->TargetsLost();
                Redraw();
                break;
            case SDL_RENDER_DEVICE_RESET:
                RenderDeviceReset();
                break;
            default:
                break;
        }
    }

    // Minimising, and losing the focus while full screen, lose the screen.
    void TranslateWindow(const SDL_WindowEvent& e) {
        switch (e.event) {
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
    }

    void TranslateKey(const SDL_KeyboardEvent& e) {
        const bool down = e.type == SDL_KEYDOWN;
        const SDL_Keycode key = e.keysym.sym;
        if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) &&
            ((e.keysym.mod & KMOD_ALT) || altEnterHeld_)) {
            // Alt+Enter belongs to the host: window or full screen. In a web page the page
            // switches, inside the key's own handler as browsers require.
            if (down && !e.repeat && !surroundings::InWebPage()) {
                ToggleFullScreen();
            }
            altEnterHeld_ = down;
            return;
        }
        const uint32_t vk = VirtualKeyFromSdlKey(key);
        if (vk != 0) {
            Push(HostEvent{.type = down ? HostEventType::KeyDown : HostEventType::KeyUp,
                           .virtualKey = vk,
                           .repeat = e.repeat != 0});
        }
    }

    // The left, right and middle buttons; others mean nothing to the program.
    void TranslateButton(const SDL_MouseButtonEvent& e) {
        int button = 0;
        if (e.button == SDL_BUTTON_LEFT) {
            button = 1;
        } else if (e.button == SDL_BUTTON_RIGHT) {
            button = 2;
        } else if (e.button == SDL_BUTTON_MIDDLE) {
            button = 3;
        }
        if (button != 0) {
            MouseEvent(e.type == SDL_MOUSEBUTTONDOWN ? HostEventType::MouseButtonDown
                                                     : HostEventType::MouseButtonUp,
                       e.x, e.y, button);
        }
    }

    // The wheel in 120ths of a notch, as the wheel message counts it. A smooth wheel or a
    // touchpad moves by fractions of a notch; what rounding leaves over is kept for the next
    // event, so that slow scrolling still adds up. The direction is SDL's as it stands: where
    // the desktop scrolls "naturally", SDL has reversed it already and says FLIPPED, and the
    // program's lists then follow the desktop's.
    void TranslateWheel(const SDL_MouseWheelEvent& e) {
#if SDL_VERSION_ATLEAST(2, 0, 18)
        wheelLeft_ += double(e.preciseY) * 120.0;
#else
        wheelLeft_ += double(e.y) * 120.0;
#endif
        const double whole = std::trunc(wheelLeft_);
        wheelLeft_ -= whole;
        if (whole != 0.0) {
            Push(HostEvent{.type = HostEventType::MouseWheel,
                           .wheel = int32_t(std::clamp(whole, -32768.0, 32767.0))});
        }
    }

    // One Text event per code point of SDL's UTF-8; malformed bytes are dropped.
    void PushText(const char* text) {
        const std::string_view typed(text);
        for (size_t at = 0; at < typed.size();) {
            const utf8::Char c = utf8::Decode(typed, at);
            if (c.wellFormed) {
                Push(HostEvent{.type = HostEventType::Text, .character = c.code});
            }
            at += c.length;
        }
    }

    HostOptions options_;
    SdlPtr<SDL_Window> window_;
    SdlPtr<SDL_Renderer> renderer_;
    std::unique_ptr<SdlPresenter> presenter_;
    SdlPtr<SDL_Cursor> cursor_;
    HostImage cursorImage_;
    bool fullScreenPending_ = false;
    ShownPage shown_;
    bool hasCursorImage_ = false;
    int32_t cursorWidth_ = 0;  // the size the cursor was made at
    int32_t cursorHeight_ = 0;
    std::deque<HostEvent> queue_;
    bool lost_ = false;
    bool minimized_ = false;
    bool altEnterHeld_ = false;
    double wheelLeft_ = 0.0;  // 120ths of a notch not yet sent
    bool videoOpen_ = false;
};

}  // namespace

std::unique_ptr<Host> CreateSdlHost(const HostOptions& options, std::string* whyNot) {
    auto host = std::make_unique<SdlHost>(options);
    std::string reason;
    if (!host->Open(reason)) {
        if (whyNot != nullptr) {
            *whyNot = reason;
        }
        return nullptr;
    }
    return host;
}

}  // namespace platform
