// Formatting the numbers of a task of 10,000 records: updates batched 500 to a transaction against one
// commit per update. Every record needs rewriting; the dirty numbers are restored between runs.
#include "common/Global.h"
#include "processing/FormatData.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace kavo;

namespace {

constexpr int kRecords = 10000;

struct FormatFixture {
    FormatFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        SetAppPath(path);
        data = std::make_unique<TDataManager>("user.db", 0);
        TTaskList tasks(*data);
        TTaskInfo task;
        task.taskname = "女装";
        tasks.AddTask(task);
        taskId = task.ID;
        data->ReSet();
        data->ExecSql("with recursive n(x) as (select 1 union all select x + 1 from n where x < " +
                      std::to_string(kRecords) +
                      ") insert into tbl_list(PID, comname, rid, lxr, curpage) select " +
                      std::to_string(taskId) + ", '公司' || x, 'b2b-' || x, '王先生', 0 from n");
    }
    ~FormatFixture() {
        data.reset();
        SetAppPath(std::string());
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }

    void dirty() {
        data->ReSet();
        data->ExecSql("update tbl_list set tel = '+86 0571-8888' || ID, tel2 = '0139 ' || (10000000 + ID), "
                      "tel3 = '(86)571-' || ID where pid=" +
                      std::to_string(taskId));
    }

    std::string path;
    std::unique_ptr<TDataManager> data;
    int taskId = 0;
};

FormatFixture& fixture() {
    static FormatFixture f;
    return f;
}

void BM_FormatNumbers(benchmark::State& state) {
    auto& f = fixture();
    const int batch = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        f.dirty();
        state.ResumeTiming();
        const auto result = FormatTaskNumbers(*f.data, f.taskId, true, batch, {});
        if (result.changed != kRecords)
            state.SkipWithError(result.error.c_str());
    }
    state.SetLabel(batch == 1 ? "one commit per update" : "500 updates a transaction");
}

} // namespace

BENCHMARK(BM_FormatNumbers)->Arg(kFormatBatchSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatNumbers)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
