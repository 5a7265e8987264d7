#include "store/TaskSubmission.h"

#include "common/Global.h"

namespace kavo {

namespace {

std::string trimBlanks(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

TTaskInfo BuildSubmittedTask(const std::string& keyword, const FilterChoice& choice) {
    TTaskInfo task;
    std::string name = trimBlanks(keyword);
    task.adddate = LocalUnixSeconds();
    if (choice.provinceIndex > 0)
        task.GetParam.province = choice.province;
    if (choice.cityIndex > 0)
        task.GetParam.city = choice.city;
    // Position 0 ("不限") gives 2^-1 truncated, which is "0".
    task.GetParam.biztype = choice.modeIndex > 0 ? std::to_string(1 << (choice.modeIndex - 1)) : "0";
    if (choice.staffIndex > 0)
        task.GetParam.employeescount = std::to_string(choice.staffIndex);
    if (choice.turnoverIndex > 0)
        task.GetParam.annualRevenue = std::to_string(choice.turnoverIndex);
    if (name.empty())
        name = task.GetParam.province + task.GetParam.city + "-公司";
    task.taskname = name;
    task.taskcount = kTaskTarget;
    return task;
}

} // namespace kavo
