// De-duplication of a task of 10,000 records (a third of them repeating a telephone number or company
// name) in a table of 1,000,000 records. Each run gets a fresh copy of the task.
#include "common/Global.h"
#include "processing/Dedup.h"
#include "store/DataManager.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace kavo;

namespace {

constexpr int kTableRecords = 1000000;
constexpr int kTaskRecords = 10000;
constexpr int kTaskId = 100000;

struct DedupFixture {
    DedupFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        SetAppPath(path);
        data = std::make_unique<TDataManager>("user.db", 0);
        data->ReSet();
        data->ExecSql(
            "with recursive n(x) as (select 1 union all select x + 1 from n where x < " +
            std::to_string(kTableRecords - kTaskRecords) +
            ") insert into tbl_list(PID, comname, rid, lxr, tel, curpage) "
            "select 1 + x % 500, '公司' || (x % 300000), 'b2b-' || x, '王先生', '0571-' || (x % 300000), "
            "0 from n");
    }
    ~DedupFixture() {
        data.reset();
        SetAppPath(std::string());
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }

    void freshTask() {
        data->ReSet();
        data->ExecSql("delete from tbl_list where pid=" + std::to_string(kTaskId));
        data->ExecSql("with recursive n(x) as (select 1 union all select x + 1 from n where x < " +
                      std::to_string(kTaskRecords) +
                      ") insert into tbl_list(PID, comname, rid, lxr, tel, curpage) select " +
                      std::to_string(kTaskId) +
                      ", '公司' || (x % 6667), 't-' || x, '李女士', '0571-' || (x % 6667), 0 from n");
    }

    std::string path;
    std::unique_ptr<TDataManager> data;
};

DedupFixture& fixture() {
    static DedupFixture f;
    return f;
}

void BM_Dedup(benchmark::State& state) {
    auto& f = fixture();
    const DedupKey key = state.range(0) == 0 ? DedupKey::Tel : DedupKey::Comname;
    for (auto _ : state) {
        state.PauseTiming();
        f.freshTask();
        state.ResumeTiming();
        const auto outcome = DedupTaskRecords(*f.data, kTaskId, key);
        if (outcome.removed != kTaskRecords - 6667)
            state.SkipWithError(outcome.message.c_str());
    }
    state.SetLabel(key == DedupKey::Tel ? "by tel" : "by comname");
}

} // namespace

BENCHMARK(BM_Dedup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
