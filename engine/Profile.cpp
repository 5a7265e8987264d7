#include "engine/Profile.h"

#include "common/Global.h"
#include "engine/HttpClient.h"
#include "engine/MarketHosts.h"
#include "engine/Patterns.h"

#include <QString>

namespace kavo {
namespace {

// The value a pattern captured: the text after the match's last ">", trimmed.
std::string afterLastTag(const std::string& match) {
    auto pos = match.rfind('>');
    return Trimmed(pos == std::string::npos ? std::string_view(match)
                                            : std::string_view(match).substr(pos + 1));
}

std::string after(const std::string& value, std::string_view marker, bool trim) {
    if (value.empty())
        return value;
    std::string cut = TextBetween(value, marker, "");
    return trim ? Trimmed(cut) : cut;
}

// The steps fail quietly towards the worker, yet a failed request must still be found in the log.
void logFailure(const std::exception& error) {
    try {
        WriteLog(error.what());
    } catch (const std::exception&) {
        // Nowhere left to report it.
    }
}

std::string jobOf(const CheckedText& page, const char* pattern) {
    return after(FirstMatchText(page, pattern), "（", false);
}

} // namespace

bool UsesContactNameLayout(const std::string& homepage, const std::string& layoutPrefix) {
    if (layoutPrefix.empty())
        return false;
    const std::string lower = QString::fromStdString(homepage).toLower().toStdString();
    return lower.find(QString::fromStdString(layoutPrefix).toLower().toStdString()) != std::string::npos;
}

void ReadContactNameLayout(std::string_view text, TTaskDeail& entry) {
    const CheckedText page(text);
    std::string name = FirstMatchText(page, R"re(<div[^>]*contact-name[^>]*>([\s\S]*?)</div>)re");
    if (!name.empty())
        name = Trimmed(StripMatches(TextBetween(name, ">", "</a>"), kTagPattern));
    entry.lxr = name;
    entry.job = jobOf(page, R"re(class="contact-name"[^>]*>([^<]*)[^>]*([^（]*)（([^）]*))re");
    entry.tel = after(Trimmed(FirstMatchText(page, "电话：<[^<]*<[^>]*>([^<]*)")), "number\">", true);
    entry.tel2 = after(Trimmed(FirstMatchText(page, "移动电话：<[^<]*<[^>]*>([^<]*)")), "number\">", true);
    entry.tel3 = after(FirstMatchText(page, "传真：</dt>[^>]*>([^<]*)"), "<dd>", true);
    entry.addr = after(FirstMatchText(page, "地址：</dt>[^>]*>([^<]*)"), "<dd>", true);
    entry.yp = afterLastTag(FirstMatchText(page, "邮编：[^>]*>[^>]*>([^<]*)"));
}

void ReadMembernameLayout(std::string_view text, TTaskDeail& entry) {
    const CheckedText page(text);
    std::string name =
        FirstMatchText(page, R"re(class="membername"[^>]*>([^<]*)[^>]*([^&nbsp;]*)&nbsp;([^&nbsp;]*))re");
    entry.lxr = name.empty() ? name : TextBetween(name, ">", "</a>");
    entry.job = jobOf(page, R"re(class="membername"[^>]*>([^<]*)[^>]*([^（]*)（([^）]*))re");
    entry.tel = after(FirstMatchText(page, ";话：<[^<]*<[^>]*>([^<]*)"), "<dd>", true);
    entry.tel2 = after(Trimmed(FirstMatchText(page, "电话：<[^<]*<[^>]*>([^<]*)")), "number\">", true);
    entry.tel3 = after(FirstMatchText(page, "真：</dt>[^>]*>([^<]*)"), "<dd>", true);
    entry.addr = afterLastTag(FirstMatchText(page, R"re(class = "address">([^<]*))re"));
    entry.yp = afterLastTag(FirstMatchText(page, "编：[^>]*>[^>]*>([^<]*)"));
    entry.email = afterLastTag(FirstMatchText(page, "Email：[^>]*>[^>]*>([^<]*)"));
}

void ReadMobileFields(std::string_view text, TTaskDeail& entry) {
    const CheckedText page(text);
    const std::pair<const char*, std::string TTaskDeail::*> labels[] = {
        {"类型", &TTaskDeail::qytype}, {"产品", &TTaskDeail::zycp},  {"范围", &TTaskDeail::zyhy},
        {"资本", &TTaskDeail::zczy},   {"人数", &TTaskDeail::ygnum}, {"日期", &TTaskDeail::createtime},
        {"代表", &TTaskDeail::frdb}};
    for (const auto& [label, field] : labels)
        entry.*field =
            after(FirstMatchText(page, std::string(label) + " :[^>]*>[^>]*>([^<]*)"), "<span>", true);
    if (!entry.frdb.empty() && entry.lxr.empty())
        entry.lxr = entry.frdb;
}

bool ReadContactPage(TTaskDeail& entry, HttpClient& http, const MarketHosts& hosts, const UrlNotice& notice) {
    try {
        const std::string url = entry.homepage;
        if (UsesContactNameLayout(url, hosts.layout)) {
            if (notice)
                notice(1, url);
            const std::string page = http.FetchPage(url);
            try {
                WriteLog(page);
            } catch (const std::exception&) {
                // A log that cannot be written must not cost the company its contact fields.
            }
            ReadContactNameLayout(page, entry);
        } else {
            ReadMembernameLayout(http.FetchPage(url), entry);
        }
        return true;
    } catch (const std::exception& error) {
        logFailure(error);
        return false;
    }
}

bool ReadMobileProfile(TTaskDeail& entry, HttpClient& http, const MarketHosts& hosts) {
    try {
        ReadMobileFields(http.FetchPage(hosts.mobile + "/winport/company/" + entry.rid + ".html"), entry);
        return true;
    } catch (const std::exception& error) {
        logFailure(error);
        return false;
    }
}

} // namespace kavo
