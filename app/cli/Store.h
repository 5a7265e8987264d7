#pragma once

#include "store/DataManager.h"
#include "store/TaskList.h"

#include <memory>

namespace kavo::cli {

// The program folder's database and task list, opened the way the desktop program opens them.
struct Store {
    std::unique_ptr<TDataManager> data;
    std::unique_ptr<TTaskList> tasks;
};

Store OpenStore();
// The task with this ID; a failure naming the ID when there is none.
std::unique_ptr<TTaskInfo> LoadOneTask(Store& store, int id);

} // namespace kavo::cli
