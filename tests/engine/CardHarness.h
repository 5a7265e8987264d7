#pragma once

#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "engine/TaskCard.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kavo::test {

// The Qt application of the engine tests (created once; the test thread is its main thread).
void EnsureApplication();
// Runs the event loop until `done` or the timeout; returns done().
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
void PumpFor(std::chrono::milliseconds length);

// A program folder with a database, a fixture marketplace configured in kavo.cfg and cards over it;
// stored records reach their card's IncNum the way the main window routes them.
class CardHarness {
public:
    CardHarness();
    ~CardHarness();

    int AddTask(const std::string& keyword);
    // A card over the task as stored now, with short back-off; owned by the harness.
    TaskCard& Card(int taskId);
    void DropCard(int taskId);
    // Stores a record as if an earlier run had found it.
    void StoreKnown(int taskId, const FixtureCompany& company);
    std::unique_ptr<TTaskInfo> Stored(int taskId);
    std::vector<std::unique_ptr<TTaskDeail>> Records(int taskId);
    // Starts the card and pumps until it has ended.
    bool RunToEnd(TaskCard& card, std::chrono::milliseconds timeout = std::chrono::seconds(20));

    TempAppDir dir;
    FixtureMarketplace market;
    std::unique_ptr<TDataManager> data;
    std::unique_ptr<TTaskList> tasks;
    WorkPacing pacing{std::chrono::milliseconds(0), std::chrono::milliseconds(20),
                      std::chrono::milliseconds(40), std::chrono::milliseconds(300)};

private:
    std::vector<std::unique_ptr<TaskCard>> cards_;
};

} // namespace kavo::test
