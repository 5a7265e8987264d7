#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kavo {

struct HttpOptions {
    std::string proxy; // empty: no proxy, whatever the environment says
    long connectTimeoutSeconds = 15;
    long timeoutSeconds = 60; // one whole request
};

// The worker's HTTP client on libcurl: one per worker and never shared between threads. It follows
// redirects, keeps its own cookies for its whole life, reuses its connection and decodes every body
// to UTF-8 by the character set the response declares.
class HttpClient {
public:
    explicit HttpClient(HttpOptions options = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // GET; the decoded body of the final response. Raises KavoError with curl's text, or with the
    // status when the final status is outside 200-299.
    std::string FetchPage(const std::string& url);

    // Sent with every later request until set again (the listing step sets it before each listing).
    void SetReferer(const std::string& url);
    const std::string& Referer() const { return referer_; }

    // Asked about once a second during a transfer; true aborts the transfer at once.
    void SetAbortCheck(std::function<bool()> check);

    // Of the last response: its status (0 when none arrived) and its Retry-After in seconds (-1: none).
    long LastStatus() const { return lastStatus_; }
    long RetryAfterSeconds() const { return retryAfter_; }

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string referer_;
    std::function<bool()> abortCheck_;
    long lastStatus_ = 0;
    long retryAfter_ = -1;
};

inline constexpr const char* kUserAgent =
    "Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2; WOW64; Trident/6.0; RUZOZO)";

// A response body as UTF-8: the Content-Type's charset, else an HTML meta declaration; GBK, GB2312 and
// GB18030 are read as GB18030. Without any declaration: UTF-8 when the bytes are valid UTF-8, else GB18030.
std::string DecodeBody(std::string_view body, std::string_view contentType);

} // namespace kavo
