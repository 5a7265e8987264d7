// Store benchmarks: harvesting 10,000 records through the known-company test and the insert, and
// the cost of one known-company test against a small and a very large record table.
#include "common/Global.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

using namespace kavo;

namespace {

struct ScratchFolder {
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        SetAppPath(path);
    }
    ~ScratchFolder() {
        SetAppPath(std::string());
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

TTaskDeail company(int pid, int n) {
    TTaskDeail r;
    r.PID = pid;
    r.rid = "b2b-" + std::to_string(100000000 + n);
    r.comname = "杭州第" + std::to_string(n) + "服饰有限公司";
    r.lxr = "王先生";
    r.job = "经理";
    r.tel = "0571-8888" + std::to_string(n % 10000);
    r.tel2 = "139" + std::to_string(10000000 + n);
    r.addr = "浙江省杭州市西湖区文三路" + std::to_string(n) + "号";
    r.zycp = "女装、童装、针织衫";
    return r;
}

// Fills tbl_list with `rows` records spread over 100 tasks, in one transaction (set-up only).
void fill(TDataManager& data, int rows) {
    sqlite3* db = data.Handle();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into tbl_list(PID, comname, rid, lxr, tel) values (?, 'c', ?, 'l', 't')",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const std::string rid = "b2b-" + std::to_string(100000000 + i);
        sqlite3_bind_int(insert, 1, 1 + i % 100);
        sqlite3_bind_text(insert, 2, rid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void BM_Harvest10000(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<ScratchFolder>();
        auto data = std::make_unique<TDataManager>("user.db", 0);
        TTaskList tasks(*data);
        TTaskInfo task;
        task.taskname = "bench";
        tasks.AddTask(task);
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            TTaskDeail r = company(task.ID, i);
            tasks.GetRid(task.ID, r);
            if (!r.rid.empty())
                tasks.AddTaskDeail(r);
        }
        state.PauseTiming();
        data.reset();
        folder.reset();
        state.ResumeTiming();
    }
    state.counters["records/s"] =
        benchmark::Counter(10000.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Harvest10000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_KnownCompanyTest(benchmark::State& state) {
    ScratchFolder folder;
    TDataManager data("user.db", 0);
    fill(data, static_cast<int>(state.range(0)));
    TTaskList tasks(data);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(state.range(0)) * 2);
    for (auto _ : state) {
        const int n = pick(random);
        TTaskDeail r;
        r.rid = "b2b-" + std::to_string(100000000 + n);
        tasks.GetRid(1 + n % 100, r);
        benchmark::DoNotOptimize(r.rid);
    }
}
BENCHMARK(BM_KnownCompanyTest)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
