#include "engine/Listing.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "engine/HttpClient.h"
#include "engine/MarketHosts.h"
#include "engine/Patterns.h"

namespace kavo {
namespace {

void appendValue(std::string& query, const char* name, const std::string& value) {
    query += name;
    query += '=';
    query += UrlEncode(ToGb18030(value), false);
    query += '&';
}

} // namespace

std::string ToUrl(const TGetParam& aParam) {
    std::string query;
    appendValue(query, "keywords", aParam.keywords);
    appendValue(query, "page_Size", aParam.page_Size);
    query += "n=y&";
    appendValue(query, "showStyle", aParam.showStyle);
    appendValue(query, "beginPage", aParam.beginPage);
    appendValue(query, "offset", aParam.offset);
    appendValue(query, "province", aParam.province);
    appendValue(query, "city", aParam.city);
    appendValue(query, "categoryId", aParam.categoryId);
    appendValue(query, "biztype", aParam.biztype);
    appendValue(query, "annualRevenue", aParam.annualRevenue);
    appendValue(query, "employeescount", aParam.employeescount);
    return query;
}

std::string BuildSearchUrl(TTaskInfo& task, int page, const std::string& desktopBase) {
    TGetParam& p = task.GetParam;
    p.beginPage = std::to_string(page);
    p.showStyle = "noimg";
    p.page_Size = "30";
    p.keywords = task.taskname.find("-公司") != std::string::npos ? "公司" : task.taskname;
    p.offset = "4";
    return desktopBase + "/gongsi/offer_search.html?" + ToUrl(p);
}

std::vector<std::unique_ptr<TTaskDeail>> ParseListing(std::string_view page, int taskId) {
    std::vector<std::unique_ptr<TTaskDeail>> entries;
    const auto matches = AllMatchTexts(page, kListingPattern);
    try {
        for (const auto& match : matches) {
            const std::string text = match + "</end>";
            auto entry = std::make_unique<TTaskDeail>();
            entry->PID = taskId;
            entry->rid = TextBetween(text, "offerid=\"", "\"");
            entry->homepage = TextBetween(text, "href=\"", "\"");
            const std::string anchor = TextBetween(text, "href=\"", "</a>");
            entry->comname = TextBetween(anchor, ">", "</a>");
            if (!entry->comname.empty())
                entry->comname = StripMatches(entry->comname, kTagPattern);
            entries.push_back(std::move(entry));
        }
    } catch (const std::exception&) {
        // The entries made so far stand; the page counts as read.
    }
    return entries;
}

std::vector<std::unique_ptr<TTaskDeail>> FetchListingPage(TTaskInfo& task, HttpClient& http,
                                                          const MarketHosts& hosts, const UrlNotice& notice) {
    const std::string url = BuildSearchUrl(task, task.lastpage, hosts.desktop);
    if (notice)
        notice(0, url);
    http.SetReferer(url);
    const std::string page = http.FetchPage(url);
    auto entries = ParseListing(page, task.ID);
    ++task.lastpage;
    return entries;
}

} // namespace kavo
