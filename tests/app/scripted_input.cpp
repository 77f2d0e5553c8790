#include "tests/app/scripted_input.h"

#include "platform/utf8.h"

namespace {
constexpr UINT_PTR SCRIPT_TIMER = 77;
}

ScriptedInput::ScriptedInput(platform::HeadlessHost* host) : host_(host) {
    WNDCLASS wc{};
    wc.lpfnWndProc = &ScriptedInput::Proc;
    wc.lpszClassName = "ScriptedInput";
    RegisterClass(&wc);
    window_ = CreateWindowEx(0, "ScriptedInput", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             nullptr, nullptr);
    SetWindowLongPtr(window_, GWLP_USERDATA, LONG_PTR(this));
}

ScriptedInput::~ScriptedInput() {
    if (IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

ScriptedInput& ScriptedInput::Key(uint32_t virtualKey) {
    platform::HostEvent event;
    event.type = platform::HostEventType::KeyDown;
    event.virtualKey = virtualKey;
    events_.push_back(event);
    event.type = platform::HostEventType::KeyUp;
    events_.push_back(event);
    return *this;
}

ScriptedInput& ScriptedInput::AltKey(uint32_t virtualKey) {
    platform::HostEvent event;
    event.type = platform::HostEventType::KeyDown;
    event.virtualKey = VK_MENU;
    events_.push_back(event);
    Key(virtualKey);
    event.type = platform::HostEventType::KeyUp;
    events_.push_back(event);
    return *this;
}

ScriptedInput& ScriptedInput::Close() {
    platform::HostEvent event;
    event.type = platform::HostEventType::CloseRequested;
    events_.push_back(event);
    return *this;
}

ScriptedInput& ScriptedInput::Type(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const platform::utf8::Char c = platform::utf8::Decode(text, at);
        platform::HostEvent event;
        event.type = platform::HostEventType::Text;
        event.character = c.code;
        events_.push_back(event);
        at += c.length;
    }
    return *this;
}

ScriptedInput& ScriptedInput::Call(std::function<void()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

void ScriptedInput::After(uint32_t delayMs) {
    SetTimer(window_, SCRIPT_TIMER, delayMs, nullptr);
}

void ScriptedInput::Now() {
    Deliver();
}

void ScriptedInput::Deliver() {
    ++fired;
    std::vector<std::function<void()>> steps;
    steps.swap(steps_);
    for (const std::function<void()>& step : steps) {
        step();
    }
    for (const platform::HostEvent& event : events_) {
        host_->PushEvent(event);
    }
    events_.clear();
}

LRESULT ScriptedInput::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == SCRIPT_TIMER) {
        KillTimer(hwnd, SCRIPT_TIMER);
        auto* self = reinterpret_cast<ScriptedInput*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
        if (self != nullptr) {
            self->Deliver();
        }
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}
