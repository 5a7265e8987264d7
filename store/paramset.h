#pragma once

#include "store/DataManager.h"

#include <string>
#include <vector>

namespace kavo {

// The five filter lists of the search form, each beginning with "不限".
class tParam {
public:
    explicit tParam(TDataManager& data) : objdata(data) {}

    // 1 provinces, 2 cities of the province named in `city`, 3 business modes, 4 staff sizes,
    // 5 annual turnovers; any other kind gives "不限" alone.
    std::vector<std::string> GetData(int atype, const std::string& city = std::string());

private:
    TDataManager& objdata;
};

} // namespace kavo
