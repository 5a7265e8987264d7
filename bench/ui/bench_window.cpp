// The desktop window's speed goals: shown quickly with 100 stored tasks, and the main thread's share
// of each harvested record (store, count, live row) small enough that a running task never stalls it.
#include "TempAppDir.h"
#include "common/Global.h"
#include "common/Settings.h"
#include "store/DataManager.h"
#include "store/TaskList.h"
#include "ui/HistoryPanel.h"
#include "ui/Tfmtask.h"
#include "ui/Tfpelmmain.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kavo;

void StoreTasks(int count) {
    TDataManager data("user.db", 0);
    TTaskList tasks(data);
    for (int i = 0; i < count; ++i) {
        TTaskInfo task;
        task.taskname = "任务" + std::to_string(i);
        task.taskcount = 10000;
        task.adddate = LocalUnixSeconds();
        tasks.AddTask(task);
    }
    WriteSetting(setting::ConfigFirst, "1");
}

// From nothing to the shown window with its history tab holding one card per stored task.
void BM_WindowShownWith100Tasks(benchmark::State& state) {
    test::TempAppDir dir;
    StoreTasks(100);
    for (auto _ : state) {
        Tfpelmmain window;
        window.show();
        window.PageControl1->setCurrentWidget(window.history);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.history->Cards().size());
        state.PauseTiming();
        window.trayAvailable = true;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowShownWith100Tasks)->Unit(benchmark::kMillisecond)->Iterations(10);

// One stored record of the selected, running task as the main thread handles it.
void BM_RecordArrivesOnMainThread(benchmark::State& state) {
    test::TempAppDir dir;
    StoreTasks(1);
    Tfpelmmain window;
    window.PageControl1->setCurrentWidget(window.history);
    Tfmtask* card = window.history->Cards().at(0);
    card->SelMySelf();
    int n = 0;
    for (auto _ : state) {
        TTaskDeail record;
        record.PID = card->TaskId();
        record.rid = std::to_string(++n);
        record.comname = "深圳市某某电子有限公司";
        record.lxr = "王先生";
        record.tel = "0755-12345678";
        benchmark::DoNotOptimize(window.Tasks().AddTaskDeail(record));
    }
}
BENCHMARK(BM_RecordArrivesOnMainThread)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
