#pragma once

#include "TempAppDir.h"
#include "store/DataManager.h"
#include "store/TaskList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kavo::test {

using Table = std::vector<std::vector<std::string>>;

// A program folder with a fresh database and task list.
class ProcessingTest : public ::testing::Test {
protected:
    ProcessingTest();

    // Stores a task and returns its ID.
    int addTask(const std::string& name);
    // Stores a record for the task (company name and contact person filled in) and returns its ID.
    int addRecord(TTaskDeail record);
    // Inserts `count` records for the task in one statement: comname "c<n>", lxr "l<n>", tel "t<n>".
    void addManyRecords(int taskId, int count);
    long long exportMark(int taskId);
    // One column of the task's records, oldest first.
    std::vector<std::string> column(int taskId, const std::string& name);

    TempAppDir dir;
    std::unique_ptr<TDataManager> data;
    std::unique_ptr<TTaskList> tasks;
};

// Cells of the first sheet, read by an independent reader (Python's xlrd for .xls, openpyxl for
// .xlsx). A cell that holds nothing reads as "". Fails the test when the reader cannot read the file.
Table ReadXlsCells(const std::string& path);
Table ReadXlsxCells(const std::string& path);
// Runs a Python snippet with the given file as sys.argv[1]; returns its standard output and exit code.
std::string RunPython(const std::string& script, const std::string& path, int& exitCode);

// A Qt Core application for tests that need posted events; created once on first use.
void EnsureCoreApplication();

} // namespace kavo::test
