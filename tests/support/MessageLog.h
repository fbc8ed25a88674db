#pragma once
// Counts the messages sent to the windows of this thread, and the windows made, while it lives: what
// the component layer writes to a window, and when it makes one.
#include <windows.h>

#include <functional>
#include <map>
#include <utility>

class MessageLog {
public:
    MessageLog()
    {
        current_ = this;
        sent_ = SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
        made_ = SetWindowsHookExA(WH_CBT, Made, nullptr, GetCurrentThreadId());
    }
    ~MessageLog()
    {
        UnhookWindowsHookEx(sent_);
        UnhookWindowsHookEx(made_);
        current_ = nullptr;
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // How often message was sent to hwnd.
    int Count(HWND hwnd, UINT message) const
    {
        auto it = counts_.find({hwnd, message});
        return it == counts_.end() ? 0 : it->second;
    }
    int WindowsMade() const { return windowsMade_; }
    // Runs as each window is about to be made, with the number made so far.
    std::function<void(int)> onMake;

private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION && current_) {
            const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
            ++current_->counts_[{message->hwnd, message->message}];
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Made(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && current_) {
            ++current_->windowsMade_;
            if (current_->onMake) current_->onMake(current_->windowsMade_);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageLog* current_ = nullptr;
    HHOOK sent_ = nullptr;
    HHOOK made_ = nullptr;
    std::map<std::pair<HWND, UINT>, int> counts_;
    int windowsMade_ = 0;
};
