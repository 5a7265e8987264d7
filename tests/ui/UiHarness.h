#pragma once

#include "TempAppDir.h"
#include "store/TaskList.h"
#include "ui/Tfpelmmain.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace kavo::test {

bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
void PumpFor(std::chrono::milliseconds length);
void Click(QWidget* widget);

// Runs `act` on the next modal dialog as soon as it is open (the caller then opens it with exec()).
void OnNextDialog(std::function<void(QWidget* dialog)> act);

// Makes LastMsgText() "(none)", so a test can tell that nothing was said afterwards.
void ForgetLastMessage();

// The real main window over a fresh program folder that holds the notice library.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    void Submit(const std::string& keyword);
    class Tfmtask* Card(int taskId) const;
    int TaskIdByName(const std::string& name);
    // Stores a record for the task through the task list, the way a running card does.
    void StoreRecord(int taskId, const std::string& name, const std::string& tel,
                     const std::string& fax = "87654321");
    void StoreRecords(int taskId, int count);

    TempAppDir dir;
    std::unique_ptr<Tfpelmmain> window;
};

} // namespace kavo::test
