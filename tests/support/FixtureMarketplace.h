#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {

// One request as the fixture saw it.
struct FixtureRequest {
    std::string path;                          // decoded path, no query
    std::string target;                        // path and query exactly as sent
    std::map<std::string, std::string> params; // query values, percent-decoded (GBK bytes stay bytes)
    std::string cookie, referer, userAgent, accept, acceptEncoding;
};

struct FixtureReply {
    int status = 200;
    std::string body;
    std::string contentType = "text/html";
    std::vector<std::pair<std::string, std::string>> headers;
    std::chrono::milliseconds delay{0};
    // Faults of the transfer itself: the body goes out in pieces of `dripBytes` with `dripPause` after
    // each, and with `cutAfter` set the connection is dropped after that many bytes of it (the headers
    // announce the whole body). A fault reply with `keepAnswer` keeps the normal answer and adds only these.
    size_t dripBytes = 0;
    std::chrono::milliseconds dripPause{0};
    std::optional<size_t> cutAfter;
    bool keepAnswer = false;
};

// What the fixture's pages say about one company, as the extraction should read it.
struct FixtureCompany {
    std::string rid, comname, homepage;
    bool contactNameLayout = false;
    std::string lxr, job, tel, tel2, tel3, addr, yp, email;
    std::string qytype, zycp, zyhy, zczy, ygnum, createtime, frdb;
};

// A small marketplace of our own on 127.0.0.1 (random port): listing pages of 30 companies for pages
// 0 .. pageCount-1 and an empty result page after them, contact pages in both layouts (even positions
// in the contact-name layout under "/www.fixture/", odd ones in the membername layout), mobile profile
// pages, plus any page a test puts in. Every answer can be delayed or replaced through a fault hook.
class FixtureMarketplace {
public:
    FixtureMarketplace();
    ~FixtureMarketplace();
    FixtureMarketplace(const FixtureMarketplace&) = delete;
    FixtureMarketplace& operator=(const FixtureMarketplace&) = delete;

    int port() const;
    std::string base() const; // "http://127.0.0.1:PORT"
    static constexpr const char* kLayoutPrefix = "www.fixture";
    // Writes [hosts] desktop, mobile and layout for this fixture into the current program folder's kavo.cfg.
    void ConfigureHosts() const;

    void SetPageCount(int pages);
    void SetCompaniesPerPage(int count);
    static std::string Rid(int page, int index);
    FixtureCompany Company(int page, int index) const;

    // Serves `reply` at `path` (no query), before anything generated.
    void SetPage(const std::string& path, FixtureReply reply);
    // Every answer waits this long first (a stop of the fixture cuts the wait short).
    void SetDelay(std::chrono::milliseconds delay);
    // Asked first for every request; an answer replaces the normal one.
    using FaultHook = std::function<std::optional<FixtureReply>(const FixtureRequest&)>;
    void SetFault(FaultHook hook);

    std::vector<FixtureRequest> Requests() const;
    size_t CountRequests(const std::function<bool(const FixtureRequest&)>& match) const;
    size_t CountPath(const std::string& pathPart) const;
    void ClearRequests();

    // Blocks the answers to requests whose path contains `pathPart` until Release() (or the end).
    void HoldPath(const std::string& pathPart);
    // Waits until a held request has arrived; false after the timeout.
    bool WaitHeld(std::chrono::milliseconds timeout);
    bool Held() const;
    void Release();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kavo::test
