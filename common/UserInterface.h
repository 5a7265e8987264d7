#pragma once

#include <functional>
#include <string>

namespace kavo {

// Message kinds of ShowMsg: 1 information, 2 warning, 3 error, 4 question (OK = 1, Cancel = 2).
enum MsgKind { kMsgInfo = 1, kMsgWarning = 2, kMsgError = 3, kMsgQuestion = 4 };
enum MsgAnswer { kAnswerOk = 1, kAnswerCancel = 2 };

// The user-facing operations that the core calls but cannot draw. The desktop program installs its own;
// until then (and in kavo-cli) messages go to standard error and questions answer Cancel.
struct UserInterface {
    std::function<int(const std::string& text, const std::string& caption, int kind)> showMsg;
    std::function<void(const std::string& text)> showWait;
    std::function<void()> hideWait;
    std::function<void(const std::string& url)> openUrl;
    std::function<void(const std::string& text, int milliseconds)> showNotice;
};

void InstallUserInterface(UserInterface ui);
void ResetUserInterface();

int ShowMsg(const std::string& text, const std::string& caption, int kind);
void ShowWait(const std::string& text);
void HideWait();
void OpenUrlInBrowser(const std::string& url);
// A short, timed confirmation ("数据导出成功！", "任务已完成！"); on a console it is one line on stderr.
void ShowNotice(const std::string& text, int milliseconds);

// Tests: the next ShowMsg answers `answer` without showing anything; the text is remembered.
void SetNextMsgAnswer(int answer);
std::string LastMsgText();

} // namespace kavo
