// Input that arrives inside a modal loop: a hidden window whose timer, after a delay of
// virtual time, hands the host a list of events (keys and typed text), and runs steps
// that look at or change the open dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/host/headless.h"
#include "platform/user/user.h"

class ScriptedInput {
  public:
    explicit ScriptedInput(platform::HeadlessHost* host);
    ~ScriptedInput();

    ScriptedInput& Key(uint32_t virtualKey);
    // The key pressed and released with Alt held.
    ScriptedInput& AltKey(uint32_t virtualKey);
    // A close request: the window manager's close button, or a signal.
    ScriptedInput& Close();
    // UTF-8 text, a Text event a character.
    ScriptedInput& Type(const std::string& text);
    // Runs step at delivery, before any of the events is handled.
    ScriptedInput& Call(std::function<void()> step);
    // Delivers everything added so far after delayMs.
    void After(uint32_t delayMs);
    // Delivers everything added so far at once.
    void Now();

    int fired = 0;

  private:
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Deliver();

    platform::HeadlessHost* host_;
    std::vector<platform::HostEvent> events_;
    std::vector<std::function<void()>> steps_;
    HWND window_ = nullptr;
};
