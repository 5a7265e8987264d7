// Export of a task of 10,000 records to .txt, .xls and .xlsx, beside the sqlite3 shell dumping the same
// eleven columns of the same rows as CSV (a timed command: process start, query and file write).
#include "common/Global.h"
#include "processing/Export.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace kavo;

namespace {

constexpr int kRecords = 10000;

struct ExportFixture {
    ExportFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavo-bench-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern + "/" : std::string();
        SetAppPath(path);
        data = std::make_unique<TDataManager>("user.db", 0);
        tasks = std::make_unique<TTaskList>(*data);
        TTaskInfo task;
        task.taskname = "女装";
        tasks->AddTask(task);
        taskId = task.ID;
        data->ReSet();
        data->ExecSql(
            "with recursive n(x) as (select 1 union all select x + 1 from n where x < " +
            std::to_string(kRecords) +
            ") insert into tbl_list(PID, comname, rid, lxr, job, tel, tel2, tel3, addr, yp, email, "
            "homepage, qytype, zycp, zyhy, zczb, ygnum, createtime, frdb, curpage) select " +
            std::to_string(taskId) +
            ", '杭州第' || x || '服饰有限公司', 'b2b-' || x, '王先生', '销售经理', '0571-8888' || x, "
            "'139' || (10000000 + x), '', '浙江省杭州市西湖区文三路' || x || '号', '310000', "
            "'sales' || x || '@example.com', 'https://example.com/' || x, '生产加工', "
            "'女装、童装、针织衫、羊毛衫', '服装、服饰', '100万人民币', '50-100人', '2008-05-01', "
            "'王某', 0 from n");
    }
    ~ExportFixture() {
        tasks.reset();
        data.reset();
        SetAppPath(std::string());
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }

    std::string path;
    std::unique_ptr<TDataManager> data;
    std::unique_ptr<TTaskList> tasks;
    int taskId = 0;
};

ExportFixture& fixture() {
    static ExportFixture f;
    return f;
}

void exportAs(benchmark::State& state, const std::string& name) {
    auto& f = fixture();
    ExportRequest request;
    request.taskId = f.taskId;
    request.mode = 1;
    request.fileName = f.path + name;
    request.fields = AllFieldsSelection();
    ExportFormatForFile(name, request.format);
    for (auto _ : state) {
        const auto outcome = ExportTaskRecords(*f.tasks, request);
        if (outcome.rows != kRecords)
            state.SkipWithError(outcome.message.c_str());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(request.fileName));
}

void BM_ExportText(benchmark::State& state) {
    exportAs(state, "out.txt");
}
void BM_ExportXls(benchmark::State& state) {
    exportAs(state, "out.xls");
}
void BM_ExportXlsx(benchmark::State& state) {
    exportAs(state, "out.xlsx");
}

void BM_Sqlite3CsvDump(benchmark::State& state) {
    auto& f = fixture();
    const std::string command = "sqlite3 -csv '" + f.data->Path() +
                                "' 'select comname,lxr,job,tel,tel2,tel3,addr,qytype,zycp,zyhy,zczb "
                                "from tbl_list where pid=" +
                                std::to_string(f.taskId) + " order by id desc' > '" + f.path + "dump.csv'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 failed");
    }
}

} // namespace

BENCHMARK(BM_Sqlite3CsvDump)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
