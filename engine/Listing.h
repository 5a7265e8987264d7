#pragma once

#include "store/TaskList.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

class HttpClient;
struct MarketHosts;

inline constexpr const char* kListingPattern = R"re(offerid="([^"]*)">([\s\S]*?)</a>)re";
inline constexpr const char* kTagPattern = "<[^>]*>";

// The worker's URL notice (message 3041): kind 0 before a listing request, 1 before a contact page.
using UrlNotice = std::function<void(int kind, const std::string& url)>;

// The twelve keys in declaration order; values as GB18030 bytes, percent-encoded, space as "%20".
std::string ToUrl(const TGetParam& aParam);

// The search address of result page `page`; writes keywords, page_Size, showStyle, beginPage and offset
// of the task's GetParam.
std::string BuildSearchUrl(TTaskInfo& task, int page, const std::string& desktopBase);

// The company entries of a listing page in page order: PID, rid, homepage and comname (tags removed).
std::vector<std::unique_ptr<TTaskDeail>> ParseListing(std::string_view page, int taskId);

// Fetches the task's next result page (lastpage), advances lastpage by one on success and returns its
// entries. A failed fetch raises and leaves lastpage as it was.
std::vector<std::unique_ptr<TTaskDeail>> FetchListingPage(TTaskInfo& task, HttpClient& http,
                                                          const MarketHosts& hosts, const UrlNotice& notice);

} // namespace kavo
