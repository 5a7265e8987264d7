// Harvest rate against the fixture marketplace answering every request after 20 ms: one task over
// 10 pages of 30 companies, and four such tasks at once. The bound is one listing request per page plus
// two profile requests per company, back to back.
#include "FixtureMarketplace.h"
#include "TempAppDir.h"
#include "common/Global.h"
#include "engine/TaskCard.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <memory>
#include <vector>

using namespace kavo;
using namespace kavo::test;

namespace {

constexpr int kPages = 10;
constexpr int kPerPage = 30;
constexpr double kAnswerSeconds = 0.020;

void harvest(benchmark::State& state) {
    const int taskCount = static_cast<int>(state.range(0));
    long companies = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TempAppDir dir;
        FixtureMarketplace market;
        market.SetPageCount(kPages);
        market.SetCompaniesPerPage(kPerPage);
        market.SetDelay(std::chrono::milliseconds(20));
        market.ConfigureHosts();
        TDataManager data("user.db", 0);
        TTaskList tasks(data);
        std::vector<std::unique_ptr<TaskCard>> cards;
        for (int i = 0; i < taskCount; ++i) {
            TTaskInfo task;
            task.taskname = "task" + std::to_string(i);
            task.taskcount = 10000;
            task.GetParam.biztype = "0";
            tasks.AddTask(task);
            cards.push_back(std::make_unique<TaskCard>(tasks, std::move(tasks.LoadTask(task.ID).at(0))));
        }
        tasks.SetOnGetTaskItem([&](pTaskDeail record) {
            for (auto& card : cards)
                if (card->TaskInfo()->ID == record->PID)
                    card->IncNum(0);
        });
        QEventLoop loop;
        int ended = 0;
        for (auto& card : cards)
            QObject::connect(card.get(), &TaskCard::ended, [&] {
                if (++ended == taskCount)
                    loop.quit();
            });
        state.ResumeTiming();

        auto start = std::chrono::steady_clock::now();
        for (auto& card : cards)
            card->StartWork();
        loop.exec();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        state.PauseTiming();
        for (auto& card : cards)
            companies += card->TaskInfo()->getcount;
        cards.clear();
        state.ResumeTiming();
    }
    const double rate = companies / seconds;
    const double boundPerTask = kPages * kPerPage / ((kPages + 2.0 * kPages * kPerPage) * kAnswerSeconds);
    state.counters["companies_per_s"] = rate;
    state.counters["bound_per_s"] = boundPerTask * taskCount;
    state.counters["of_bound"] = rate / (boundPerTask * taskCount);
}

BENCHMARK(harvest)->Arg(1)->Arg(4)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
