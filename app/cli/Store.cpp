#include "Store.h"

#include "common/Error.h"

namespace kavo::cli {

Store OpenStore() {
    Store store;
    store.data = std::make_unique<TDataManager>("user.db", 0);
    store.tasks = std::make_unique<TTaskList>(*store.data);
    return store;
}

std::unique_ptr<TTaskInfo> LoadOneTask(Store& store, int id) {
    auto tasks = store.tasks->LoadTask(id);
    if (id == 0 || tasks.empty())
        throw KavoError("there is no task with ID " + std::to_string(id));
    return std::move(tasks.front());
}

} // namespace kavo::cli
