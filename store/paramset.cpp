#include "store/paramset.h"

namespace kavo {

namespace {

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        auto comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

} // namespace

std::vector<std::string> tParam::GetData(int atype, const std::string& city) {
    std::vector<std::string> list{"不限"};
    if (atype == 1 || (atype == 2 && !city.empty())) {
        auto lock = objdata.Lock();
        objdata.ReSet();
        if (atype == 1) {
            objdata.SqlCmd = "select name from tbl_dict where type = 2";
        } else {
            objdata.SqlCmd =
                "select name from tbl_dict where type in (select id from tbl_dict where name = ?)";
            objdata.SqlArgs = {city};
        }
        auto table = objdata.GetTable();
        for (const auto& row : table->Rows())
            list.push_back(row.empty() ? std::string() : row[0]);
    } else if (atype == 3) {
        list = splitCommas("不限,生产加工,经销批发,招商代理,商业服务");
    } else if (atype == 4) {
        list = splitCommas("不限,5人以下,5人-50人,51人-100人,101人-500人,501人-1000人,1000人以上");
    } else if (atype == 5) {
        list = splitCommas("不限,10万以下,10万-50万,51万-100万,101万-500万,501万-1000万,1000万以上");
    }
    return list;
}

} // namespace kavo
