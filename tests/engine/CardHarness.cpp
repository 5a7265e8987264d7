#include "CardHarness.h"

#include <QCoreApplication>

#include <algorithm>
#include <thread>

namespace kavo::test {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_engine";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void PumpFor(std::chrono::milliseconds length) {
    auto end = std::chrono::steady_clock::now() + length;
    PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, length + std::chrono::seconds(1));
}

CardHarness::CardHarness() {
    EnsureApplication();
    market.ConfigureHosts();
    data = std::make_unique<TDataManager>("user.db", 0);
    tasks = std::make_unique<TTaskList>(*data);
    tasks->SetOnGetTaskItem([this](pTaskDeail record) {
        for (auto& card : cards_)
            if (card->TaskInfo()->ID == record->PID)
                card->IncNum(0);
    });
}

CardHarness::~CardHarness() {
    cards_.clear();
    tasks.reset();
    data.reset();
}

int CardHarness::AddTask(const std::string& keyword) {
    TTaskInfo task;
    task.taskname = keyword;
    task.taskcount = 10000;
    // assign() rather than = "0": GCC 12 warns falsely (-Wrestrict) on the inlined literal assignment.
    task.GetParam.biztype.assign(1, '0');
    tasks->AddTask(task);
    return task.ID;
}

TaskCard& CardHarness::Card(int taskId) {
    auto loaded = tasks->LoadTask(taskId);
    cards_.push_back(std::make_unique<TaskCard>(*tasks, std::move(loaded.at(0))));
    cards_.back()->OverridePacing(pacing);
    return *cards_.back();
}

void CardHarness::DropCard(int taskId) {
    cards_.erase(std::remove_if(cards_.begin(), cards_.end(),
                                [&](const auto& card) { return card->TaskInfo()->ID == taskId; }),
                 cards_.end());
}

void CardHarness::StoreKnown(int taskId, const FixtureCompany& company) {
    TTaskDeail record;
    record.PID = taskId;
    record.rid = company.rid;
    record.comname = company.comname;
    record.lxr = company.lxr;
    tasks->AddTaskDeail(record);
}

std::unique_ptr<TTaskInfo> CardHarness::Stored(int taskId) {
    return std::move(tasks->LoadTask(taskId).at(0));
}

std::vector<std::unique_ptr<TTaskDeail>> CardHarness::Records(int taskId) {
    std::vector<std::unique_ptr<TTaskDeail>> all;
    int sum = 0;
    for (int page = 1;; ++page) {
        auto chunk = tasks->GetDeail(taskId, page, sum);
        if (chunk.empty())
            break;
        std::move(chunk.begin(), chunk.end(), std::back_inserter(all));
        if (static_cast<int>(all.size()) >= sum)
            break;
    }
    return all;
}

bool CardHarness::RunToEnd(TaskCard& card, std::chrono::milliseconds timeout) {
    bool ended = false;
    auto connection = QObject::connect(&card, &TaskCard::ended, [&] { ended = true; });
    card.StartWork();
    bool done = PumpUntil([&] { return ended && !card.Busy(); }, timeout);
    QObject::disconnect(connection);
    return done;
}

} // namespace kavo::test
