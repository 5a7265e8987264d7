// kavo-cli commands over the task store: add, tasks, records, delete.
#include "Command.h"
#include "Store.h"

#include "common/Error.h"
#include "store/TaskSubmission.h"
#include "store/paramset.h"

#include <algorithm>

namespace kavo::cli {
namespace {

// One value on one output line: tabs and line breaks would split the line, so they become blanks.
std::string cell(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

int listPosition(const std::vector<std::string>& list, const std::string& name, const std::string& what) {
    auto found = std::find(list.begin(), list.end(), name);
    if (found == list.end() || found == list.begin())
        throw UsageError{"unknown " + what + " \"" + name + "\""};
    return static_cast<int>(found - list.begin());
}

int boundedPosition(const Args& args, const std::string& option, size_t listSize) {
    int value = args.optionInt(option, 0);
    if (value < 0 || value >= static_cast<int>(listSize))
        throw UsageError{"--" + option + " must be between 0 and " + std::to_string(listSize - 1)};
    return value;
}

int addTask(const Args& args, Context& context) {
    args.allowOnly({"province", "city", "mode", "staff", "turnover"});
    args.maxPositional(1);
    const std::string keyword = args.require(0, "KEYWORD");
    Store store = OpenStore();
    tParam lists(*store.data);
    FilterChoice choice;
    if (args.has("province")) {
        choice.province = args.get("province");
        choice.provinceIndex = listPosition(lists.GetData(1), choice.province, "province");
    }
    if (args.has("city")) {
        if (choice.provinceIndex == 0)
            throw UsageError{"--city needs --province"};
        choice.city = args.get("city");
        choice.cityIndex =
            listPosition(lists.GetData(2, choice.province), choice.city, "city of " + choice.province);
    }
    choice.modeIndex = boundedPosition(args, "mode", lists.GetData(3).size());
    choice.staffIndex = boundedPosition(args, "staff", lists.GetData(4).size());
    choice.turnoverIndex = boundedPosition(args, "turnover", lists.GetData(5).size());

    TTaskInfo task = BuildSubmittedTask(keyword, choice);
    switch (store.tasks->AddTask(task)) {
    case 0:
        context.out << task.ID << "\n";
        return 0;
    case -1:
        context.err << "kavo-cli: a task named \"" << task.taskname << "\" already exists\n";
        return 1;
    default:
        context.err << "kavo-cli: the task could not be stored in " << store.data->Path() << ": "
                    << store.data->LastError() << "\n";
        return 1;
    }
}

int listTasks(const Args& args, Context& context) {
    args.allowOnly({});
    args.maxPositional(0);
    Store store = OpenStore();
    for (const auto& task : store.tasks->LoadTask(0)) {
        const auto& p = task->GetParam;
        context.out << task->ID << "\t" << cell(task->taskname) << "\t" << task->getcount << "/"
                    << task->taskcount << "\t" << task->lastpage << "\t" << cell(p.province) << "\t"
                    << cell(p.city) << "\t" << p.biztype << "\t" << p.employeescount << "\t"
                    << p.annualRevenue << "\n";
    }
    return 0;
}

int listRecords(const Args& args, Context& context) {
    args.allowOnly({"page"});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "task ID"), "task ID");
    const int page = args.optionInt("page", 1);
    if (page < 1)
        throw UsageError{"--page must be 1 or more"};
    Store store = OpenStore();
    LoadOneTask(store, id);
    int total = 0;
    auto records = store.tasks->GetDeail(id, page, total);
    const int pages = (total + TTaskList::kPageRows - 1) / TTaskList::kPageRows;
    context.out << "records: " << total << "\tpages: " << pages << "\tpage: " << page << "\n";
    for (const auto& r : records) {
        context.out << r->ID;
        for (const std::string* value :
             {&r->comname, &r->lxr, &r->job, &r->tel, &r->tel2, &r->tel3, &r->addr, &r->yp, &r->email,
              &r->homepage, &r->qytype, &r->zycp, &r->zyhy, &r->zczy, &r->ygnum})
            context.out << "\t" << cell(*value);
        context.out << "\n";
    }
    return 0;
}

int deleteTask(const Args& args, Context& context) {
    args.allowOnly({});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "task ID"), "task ID");
    Store store = OpenStore();
    auto task = LoadOneTask(store, id);
    store.tasks->DelTask(id);
    context.out << "deleted task " << id << " (" << cell(task->taskname) << ")\n";
    return 0;
}

const CommandRegistration registrations[] = {
    CommandRegistration(
        {"add",
         "add KEYWORD [--province NAME] [--city NAME] [--mode N] [--staff N] [--turnover N]",
         "Stores a new search task and prints its ID. N is a list position, 0 = no restriction; "
         "an empty KEYWORD searches the province and city.",
         {},
         addTask}),
    CommandRegistration(
        {"tasks",
         "tasks",
         "Lists every task, newest first: ID, name, collected/target, page reached, province, "
         "city, business mode, staff size, turnover.",
         {},
         listTasks}),
    CommandRegistration({"records",
                         "records ID [--page N]",
                         "Prints page N (default 1) of the task's records, 28 a page, oldest first.",
                         {},
                         listRecords}),
    CommandRegistration({"delete", "delete ID", "Deletes the task and all its records.", {}, deleteTask}),
};

} // namespace
} // namespace kavo::cli
