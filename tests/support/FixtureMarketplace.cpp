#include "FixtureMarketplace.h"

#include "common/Encoding.h"
#include "common/Settings.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace kavo::test {

struct FixtureMarketplace::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;

    mutable std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;
    int pageCount = 3;
    int perPage = 30;
    std::chrono::milliseconds delay{0};
    FaultHook fault;
    std::map<std::string, FixtureReply> pages;
    std::vector<FixtureRequest> requests;
    std::string holdPart;
    bool held = false;
    int visitors = 0;
    const FixtureMarketplace* owner = nullptr;

    // Sleeps, but a stopping fixture or a release ends the wait early.
    void pause(std::chrono::milliseconds length) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, length, [&] { return stopping; });
    }

    void handle(const httplib::Request& req, httplib::Response& res);
    FixtureReply generated(const FixtureRequest& request);
};

namespace {

std::string listingPage(const FixtureMarketplace& market, int page, int count, int pageCount) {
    std::string html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
                       "<title>公司搜索</title></head><body><div class=\"result\">\n";
    if (page >= pageCount || count == 0) {
        html += "<p>没有找到与搜索条件相关的公司信息。</p>";
    } else {
        html += "<p class=\"total\">共找到 " + std::to_string(pageCount * count) + " 家公司</p>\n";
        for (int i = 0; i < count; ++i) {
            FixtureCompany c = market.Company(page, i);
            html += "<div class=\"company\" offerid=\"" + c.rid + "\"><a href=\"" + c.homepage +
                    "\" target=\"_blank\">杭州<b>测试</b> " + c.rid +
                    "贸易有限公司</a><span>主营</span></div>\n";
        }
    }
    return ToGb18030(html + "</div></body></html>");
}

std::string contactNamePage(const FixtureCompany& c) {
    return ToGb18030(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=gbk\"><title>联系方式</title>"
        "</head><body><div class=\"contact-info\">\n<div class=\"contact-name\"><a href=\"/member\" "
        "target=\"_blank\">" +
        c.lxr + "</a>（" + c.job +
        "）</div>\n"
        "<dl><dt>电话：</dt><dd class=\"number\"> " +
        c.tel +
        " </dd></dl>\n"
        "<dl><dt>移动电话：</dt><dd class=\"number\">" +
        c.tel2 +
        "</dd></dl>\n"
        "<dl><dt>传真：</dt><dd> " +
        c.tel3 +
        " </dd></dl>\n"
        "<dl><dt>地址：</dt><dd> " +
        c.addr +
        " </dd></dl>\n"
        "<dl><dt>邮编：</dt><dd>" +
        c.yp + "</dd></dl>\n</div></body></html>");
}

std::string membernamePage(const FixtureCompany& c) {
    return "<html><head><title>公司档案</title></head><body><div class=\"contact\">\n"
           "<a class=\"membername\" href=\"/m\" target=\"_blank\">" +
           c.lxr + "</a>&nbsp;（" + c.job +
           "）<br>\n"
           "<dl><dt>电&nbsp;&nbsp;话：</dt><dd> " +
           c.tel +
           " </dd></dl>\n"
           "<dl><dt>移动电话：</dt><dd class=\"mobile-number\">" +
           c.tel2 +
           "</dd></dl>\n"
           "<dl><dt>传&nbsp;&nbsp;真：</dt><dd>" +
           c.tel3 +
           "</dd></dl>\n"
           "<p class = \"address\">" +
           c.addr +
           " </p>\n"
           "<dl><dt>邮&nbsp;&nbsp;编：</dt><dd>" +
           c.yp +
           "</dd></dl>\n"
           "<dl><dt>Email：</dt><dd>" +
           c.email + "</dd></dl>\n</div></body></html>";
}

std::string mobilePage(const FixtureCompany& c) {
    std::string html = "<html><body><ul class=\"info\">\n";
    const std::pair<const char*, const std::string*> rows[] = {
        {"类型", &c.qytype}, {"产品", &c.zycp},       {"范围", &c.zyhy}, {"资本", &c.zczy},
        {"人数", &c.ygnum},  {"日期", &c.createtime}, {"代表", &c.frdb}};
    for (const auto& [label, value] : rows)
        html += std::string("<li><label>") + label + " :</label><span> " + *value + " </span></li>\n";
    return html + "</ul></body></html>";
}

// "/www.fixture/123.html" or "/member/123.html" or "/winport/company/123.html" → "123".
std::string ridOf(const std::string& path, const std::string& prefix) {
    if (path.rfind(prefix, 0) != 0 || path.size() < prefix.size() + 5 ||
        path.substr(path.size() - 5) != ".html")
        return {};
    return path.substr(prefix.size(), path.size() - prefix.size() - 5);
}

bool parseRid(const std::string& rid, int& page, int& index) {
    if (rid.size() != 6 || rid.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int value = std::stoi(rid) - 100000;
    page = value / 100;
    index = value % 100;
    return true;
}

} // namespace

FixtureReply FixtureMarketplace::Impl::generated(const FixtureRequest& request) {
    FixtureReply reply;
    int page = 0, index = 0, pages = 0, count = 0;
    {
        std::lock_guard lock(mutex);
        pages = pageCount;
        count = perPage;
    }
    if (request.path == "/gongsi/offer_search.html") {
        auto found = request.params.find("beginPage");
        page = found == request.params.end() ? 0 : std::atoi(found->second.c_str());
        reply.body = listingPage(*owner, page, count, pages);
        reply.contentType = "text/html; charset=GBK";
        if (request.cookie.find("visitor=") == std::string::npos) {
            std::lock_guard lock(mutex);
            reply.headers.emplace_back("Set-Cookie", "visitor=v" + std::to_string(++visitors) + "; Path=/");
        }
        return reply;
    }
    std::string rid = ridOf(request.path, "/www.fixture/");
    if (!rid.empty() && parseRid(rid, page, index)) {
        reply.body = contactNamePage(owner->Company(page, index));
        return reply;
    }
    rid = ridOf(request.path, "/member/");
    if (!rid.empty() && parseRid(rid, page, index)) {
        reply.body = membernamePage(owner->Company(page, index));
        reply.contentType = "text/html; charset=utf-8";
        return reply;
    }
    rid = ridOf(request.path, "/winport/company/");
    if (!rid.empty() && parseRid(rid, page, index)) {
        reply.body = mobilePage(owner->Company(page, index));
        return reply;
    }
    reply.status = 404;
    reply.body = "<html><body>404 Not Found</body></html>";
    return reply;
}

void FixtureMarketplace::Impl::handle(const httplib::Request& req, httplib::Response& res) {
    FixtureRequest request;
    request.path = req.path;
    request.target = req.target;
    for (const auto& [key, value] : req.params)
        request.params[key] = value;
    request.cookie = req.get_header_value("Cookie");
    request.referer = req.get_header_value("Referer");
    request.userAgent = req.get_header_value("User-Agent");
    request.accept = req.get_header_value("Accept");
    request.acceptEncoding = req.get_header_value("Accept-Encoding");

    std::optional<FixtureReply> reply;
    FaultHook hook;
    std::chrono::milliseconds wait{0};
    {
        std::unique_lock lock(mutex);
        requests.push_back(request);
        hook = fault;
        wait = delay;
        if (!holdPart.empty() && request.path.find(holdPart) != std::string::npos) {
            held = true;
            changed.notify_all();
            changed.wait(lock, [&] { return stopping || holdPart.empty(); });
        }
        auto found = pages.find(request.path);
        if (found != pages.end())
            reply = found->second;
    }
    std::optional<FixtureReply> transfer;
    if (hook) {
        if (auto replaced = hook(request))
            (replaced->keepAnswer ? transfer : reply) = std::move(replaced);
    }
    if (!reply)
        reply = generated(request);
    if (transfer) {
        reply->dripBytes = transfer->dripBytes;
        reply->dripPause = transfer->dripPause;
        reply->cutAfter = transfer->cutAfter;
    }
    if (wait.count() > 0)
        pause(wait);
    if (reply->delay.count() > 0)
        pause(reply->delay);
    res.status = reply->status;
    for (const auto& [name, value] : reply->headers)
        res.set_header(name, value);
    if (reply->dripBytes == 0 && !reply->cutAfter) {
        res.set_content(reply->body, reply->contentType.c_str());
        return;
    }
    auto body = std::make_shared<const std::string>(std::move(reply->body));
    const size_t piece = reply->dripBytes > 0 ? reply->dripBytes : body->size();
    const size_t limit = std::min(reply->cutAfter.value_or(body->size()), body->size());
    res.set_content_provider(body->size(), reply->contentType,
                             [this, body, piece, limit,
                              dripPause = reply->dripPause](size_t offset, size_t, httplib::DataSink& sink) {
                                 if (offset >= limit)
                                     return false; // httplib drops the connection
                                 const size_t count = std::min(piece, limit - offset);
                                 if (!sink.write(body->data() + offset, count))
                                     return false;
                                 if (dripPause.count() > 0 && offset + count < body->size())
                                     pause(dripPause);
                                 return true;
                             });
}

FixtureMarketplace::FixtureMarketplace() : impl_(std::make_unique<Impl>()) {
    impl_->owner = this;
    auto& server = impl_->server;
    // Keep-alive connections each hold a pool thread: leave room for several workers at once.
    server.new_task_queue = [] { return new httplib::ThreadPool(24); };
    server.set_keep_alive_max_count(100000);
    // Without it, small answers meet the client's delayed acknowledgement: 40 ms per request.
    server.set_tcp_nodelay(true);
    server.Get(".*",
               [this](const httplib::Request& req, httplib::Response& res) { impl_->handle(req, res); });
    impl_->port = server.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0)
        throw std::runtime_error("the fixture marketplace cannot listen on 127.0.0.1");
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FixtureMarketplace::~FixtureMarketplace() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->changed.notify_all();
    impl_->server.stop();
    if (impl_->thread.joinable())
        impl_->thread.join();
}

int FixtureMarketplace::port() const {
    return impl_->port;
}
std::string FixtureMarketplace::base() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port);
}

void FixtureMarketplace::ConfigureHosts() const {
    WriteSetting(setting::HostsDesktop, base());
    WriteSetting(setting::HostsMobile, base());
    WriteSetting(setting::HostsLayout, kLayoutPrefix);
}

void FixtureMarketplace::SetPageCount(int pages) {
    std::lock_guard lock(impl_->mutex);
    impl_->pageCount = pages;
}

void FixtureMarketplace::SetCompaniesPerPage(int count) {
    std::lock_guard lock(impl_->mutex);
    impl_->perPage = count;
}

std::string FixtureMarketplace::Rid(int page, int index) {
    return std::to_string(100000 + page * 100 + index);
}

FixtureCompany FixtureMarketplace::Company(int page, int index) const {
    FixtureCompany c;
    c.rid = Rid(page, index);
    c.comname = "杭州测试 " + c.rid + "贸易有限公司";
    c.contactNameLayout = index % 2 == 0;
    c.homepage = base() + (c.contactNameLayout ? "/www.fixture/" : "/member/") + c.rid + ".html";
    c.lxr = (c.contactNameLayout ? "王" : "李") + c.rid;
    c.job = c.contactNameLayout ? "销售经理" : "采购主管";
    c.tel = "0571-8" + c.rid;
    c.tel2 = "139" + c.rid;
    c.tel3 = "0571-6" + c.rid;
    c.addr = "浙江省杭州市测试路" + c.rid + "号";
    c.yp = "310000";
    c.email = c.contactNameLayout ? "" : "sales" + c.rid + "@example.com";
    c.qytype = "有限责任公司";
    c.zycp = "五金工具" + c.rid;
    c.zyhy = "五金批发";
    c.zczy = "500万人民币";
    c.ygnum = "51 - 100 人";
    c.createtime = "2008-05-12";
    c.frdb = "赵" + c.rid;
    return c;
}

void FixtureMarketplace::SetPage(const std::string& path, FixtureReply reply) {
    std::lock_guard lock(impl_->mutex);
    impl_->pages[path] = std::move(reply);
}

void FixtureMarketplace::SetDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(impl_->mutex);
    impl_->delay = delay;
}

void FixtureMarketplace::SetFault(FaultHook hook) {
    std::lock_guard lock(impl_->mutex);
    impl_->fault = std::move(hook);
}

std::vector<FixtureRequest> FixtureMarketplace::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

size_t FixtureMarketplace::CountRequests(const std::function<bool(const FixtureRequest&)>& match) const {
    size_t count = 0;
    for (const auto& request : Requests())
        count += match(request) ? 1 : 0;
    return count;
}

size_t FixtureMarketplace::CountPath(const std::string& pathPart) const {
    return CountRequests([&](const FixtureRequest& r) { return r.path.find(pathPart) != std::string::npos; });
}

void FixtureMarketplace::ClearRequests() {
    std::lock_guard lock(impl_->mutex);
    impl_->requests.clear();
}

void FixtureMarketplace::HoldPath(const std::string& pathPart) {
    std::lock_guard lock(impl_->mutex);
    impl_->holdPart = pathPart;
    impl_->held = false;
}

bool FixtureMarketplace::WaitHeld(std::chrono::milliseconds timeout) {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, timeout, [&] { return impl_->held; });
}

bool FixtureMarketplace::Held() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->held;
}

void FixtureMarketplace::Release() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->holdPart.clear();
    }
    impl_->changed.notify_all();
}

} // namespace kavo::test
