#include "common/UserInterface.h"

#include <iostream>
#include <mutex>
#include <optional>

namespace kavo {
namespace {

struct State {
    std::mutex mutex;
    UserInterface ui;
    std::optional<int> nextAnswer;
    std::string lastText;
};

State& state() {
    static State s;
    return s;
}

int consoleShowMsg(const std::string& text, const std::string& caption, int kind) {
    if (kind < kMsgInfo || kind > kMsgQuestion)
        return 0;
    std::cerr << caption << ": " << text << std::endl;
    // Nobody can answer a question on a console run; Cancel is the safe refusal.
    return kind == kMsgQuestion ? kAnswerCancel : 0;
}

} // namespace

void InstallUserInterface(UserInterface ui) {
    std::lock_guard lock(state().mutex);
    state().ui = std::move(ui);
}

void ResetUserInterface() {
    InstallUserInterface({});
}

int ShowMsg(const std::string& text, const std::string& caption, int kind) {
    std::function<int(const std::string&, const std::string&, int)> show;
    {
        std::lock_guard lock(state().mutex);
        state().lastText = text;
        if (state().nextAnswer) {
            int answer = *state().nextAnswer;
            state().nextAnswer.reset();
            return kind < kMsgInfo || kind > kMsgQuestion ? 0 : answer;
        }
        show = state().ui.showMsg;
    }
    return show ? show(text, caption, kind) : consoleShowMsg(text, caption, kind);
}

void ShowWait(const std::string& text) {
    std::function<void(const std::string&)> show;
    {
        std::lock_guard lock(state().mutex);
        show = state().ui.showWait;
    }
    if (show)
        show(text.empty() ? std::string("正在处理数据，请稍后...") : text);
}

void HideWait() {
    std::function<void()> hide;
    {
        std::lock_guard lock(state().mutex);
        hide = state().ui.hideWait;
    }
    if (hide)
        hide();
}

void OpenUrlInBrowser(const std::string& url) {
    std::function<void(const std::string&)> open;
    {
        std::lock_guard lock(state().mutex);
        open = state().ui.openUrl;
    }
    if (open)
        open(url);
}

void ShowNotice(const std::string& text, int milliseconds) {
    std::function<void(const std::string&, int)> show;
    {
        std::lock_guard lock(state().mutex);
        state().lastText = text;
        show = state().ui.showNotice;
    }
    if (show)
        show(text, milliseconds);
    else
        std::cerr << text << std::endl;
}

void SetNextMsgAnswer(int answer) {
    std::lock_guard lock(state().mutex);
    state().nextAnswer = answer;
}

std::string LastMsgText() {
    std::lock_guard lock(state().mutex);
    return state().lastText;
}

} // namespace kavo
