#include "ProcessingFixture.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <cstdio>
#include <memory>

namespace kavo::test {

ProcessingTest::ProcessingTest()
    : data(std::make_unique<TDataManager>("user.db", 0)), tasks(std::make_unique<TTaskList>(*data)) {}

int ProcessingTest::addTask(const std::string& name) {
    TTaskInfo task;
    task.taskname = name;
    task.taskcount = 10000;
    EXPECT_EQ(tasks->AddTask(task), 0);
    return task.ID;
}

int ProcessingTest::addRecord(TTaskDeail record) {
    static int nextRid = 1;
    if (record.rid.empty())
        record.rid = "r" + std::to_string(nextRid++);
    if (record.comname.empty())
        record.comname = "公司" + record.rid;
    if (record.lxr.empty())
        record.lxr = "联系人" + record.rid;
    EXPECT_EQ(tasks->AddTaskDeail(record), 1);
    return record.ID;
}

void ProcessingTest::addManyRecords(int taskId, int count) {
    auto lock = data->Lock();
    data->ReSet();
    ASSERT_TRUE(data->ExecSql(
        "with recursive n(x) as (select 1 union all select x + 1 from n where x < " + std::to_string(count) +
        ") insert into tbl_list(PID, comname, rid, lxr, tel, tel2, tel3, curpage) "
        "select " +
        std::to_string(taskId) + ", 'c' || x, 'r' || x, 'l' || x, 't' || x, '', '', 0 from n"))
        << data->LastError();
}

long long ProcessingTest::exportMark(int taskId) {
    auto lock = data->Lock();
    data->ReSet();
    data->SqlCmd = "select lastid from tbl_his where tid=" + std::to_string(taskId);
    auto table = data->GetTable();
    return table->Count() > 0 ? StrToInt64Def(table->GetFields(0)) : -1;
}

std::vector<std::string> ProcessingTest::column(int taskId, const std::string& name) {
    auto lock = data->Lock();
    data->ReSet();
    data->SqlCmd = "select " + name + " from tbl_list where pid=" + std::to_string(taskId) + " order by ID";
    auto table = data->GetTable();
    std::vector<std::string> values;
    for (const auto& row : table->Rows())
        values.push_back(row[0]);
    return values;
}

std::string RunPython(const std::string& script, const std::string& path, int& exitCode) {
    // The system interpreter: it is the one Debian's python3-xlrd and python3-openpyxl belong to.
    const std::string command = "/usr/bin/python3 -c '" + script + "' '" + path + "' 2>&1";
    struct Closer {
        void operator()(FILE* pipe) const { pclose(pipe); }
    };
    std::unique_ptr<FILE, Closer> pipe(popen(command.c_str(), "r"));
    if (!pipe) {
        exitCode = -1;
        return {};
    }
    std::string output;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), got);
    const int status = pclose(pipe.release());
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

namespace {

Table readCells(const std::string& script, const std::string& path) {
    int exitCode = 0;
    const std::string output = RunPython(script, path, exitCode);
    EXPECT_EQ(exitCode, 0) << output;
    Table table;
    if (exitCode != 0)
        return table;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(output));
    EXPECT_TRUE(document.isArray()) << output;
    for (const auto& row : document.array()) {
        std::vector<std::string> cells;
        for (const auto& cell : row.toArray())
            cells.push_back(cell.toString().toStdString());
        table.push_back(std::move(cells));
    }
    return table;
}

} // namespace

Table ReadXlsCells(const std::string& path) {
    return readCells("import sys, json, xlrd\n"
                     "sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                     "print(json.dumps([[str(sheet.cell_value(r, c)) for c in range(sheet.ncols)]"
                     " for r in range(sheet.nrows)]))\n",
                     path);
}

Table ReadXlsxCells(const std::string& path) {
    return readCells("import sys, json, openpyxl\n"
                     "sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                     "print(json.dumps([[\"\" if v is None else str(v) for v in row]"
                     " for row in sheet.iter_rows(values_only=True)]))\n",
                     path);
}

void EnsureCoreApplication() {
    static int argc = 1;
    static char name[] = "test_processing";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace kavo::test
