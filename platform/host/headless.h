// The host for tests and CI: no window, a virtual clock, scripted input, and the front
// page readable as pixels.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/host/host.h"

namespace platform {

class HeadlessHost : public Host {
  public:
    bool AcquireScreen(int32_t width, int32_t height, int32_t bitsPerPixel) override;
    void ReleaseScreen() override;
    void Present(const uint8_t* pixels, int32_t pitch) override;
    bool PollEvent(HostEvent& out) override;
    // With nothing queued, the virtual clock jumps ahead by the timeout, so a loop
    // waiting for a timer gets there at once.
    void WaitForEvent(uint32_t timeoutMs) override;
    uint32_t NowMs() const override { return now_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    void SetIcon(const HostImage& image) override { icon_ = image; }
    void SetCursor(const HostImage* image) override;
    void ShowCursor(bool show) override { cursorShown_ = show; }
    void GrabMouse(bool grab) override { mouseGrabbed_ = grab; }
    std::string GetClipboardText() override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }

    // Test controls.
    void PushEvent(const HostEvent& event);  // stamped with the current clock
    void AdvanceClock(uint32_t ms) { now_ += ms; }
    void RefuseScreen(bool refuse) { refuseScreen_ = refuse; }
    void RefuseMode(bool refuse) { refuseMode_ = refuse; }
    bool RefusesMode() const { return refuseMode_; }
    // As when minimised: every surface is lost, and a Minimized event is queued.
    void ForceScreenLoss();
    // The screen is back (a Restored event is queued); surfaces still need Restore.
    void RegainScreen();

    bool HasScreen() const { return hasScreen_; }
    int32_t PresentCount() const { return presentCount_; }
    // The last presented page, 640 x 480 pixels of 5-6-5.
    const std::vector<uint16_t>& Presented() const { return presented_; }
    bool SavePng(const std::string& path) const;
    bool SaveBmp(const std::string& path) const;
    const std::string& Title() const { return title_; }
    const HostImage& Icon() const { return icon_; }
    const HostImage* Cursor() const { return hasCursor_ ? &cursor_ : nullptr; }
    bool CursorShown() const { return cursorShown_; }
    bool MouseGrabbed() const { return mouseGrabbed_; }

  private:
    std::deque<HostEvent> events_;
    uint32_t now_ = 0;
    bool refuseScreen_ = false;
    bool refuseMode_ = false;
    bool hasScreen_ = false;
    int32_t presentCount_ = 0;
    std::vector<uint16_t> presented_;
    std::string title_;
    HostImage icon_;
    HostImage cursor_;
    bool hasCursor_ = false;
    bool cursorShown_ = true;
    bool mouseGrabbed_ = false;
    std::string clipboard_;
};

// Installs a fresh headless host and returns it (tests call this in their set-up).
HeadlessHost& InstallHeadlessHost();

}  // namespace platform
