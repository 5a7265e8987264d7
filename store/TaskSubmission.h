#pragma once

#include "store/TaskList.h"

#include <string>

namespace kavo {

// The positions chosen in the five filter lists (0 = "不限") and the texts of the chosen place.
struct FilterChoice {
    std::string province; // the province entry's text; ignored at position 0
    std::string city;
    int provinceIndex = 0;
    int cityIndex = 0;
    int modeIndex = 0;
    int staffIndex = 0;
    int turnoverIndex = 0;
};

inline constexpr int kTaskTarget = 10000;

// Builds a new task exactly as the search form submits it: the trimmed keyword (or province + city +
// "-公司" when it is empty, never split at commas), the creation time, the five filters and the target.
TTaskInfo BuildSubmittedTask(const std::string& keyword, const FilterChoice& choice);

} // namespace kavo
