#include "engine/HttpClient.h"

#include "common/Encoding.h"
#include "common/Error.h"

#include <QByteArray>
#include <QStringDecoder>

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace kavo {
namespace {

struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t appendBody(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// The value after "charset=" in lower-case text, without quotes.
std::string charsetAfter(const std::string& text, size_t from, size_t to) {
    size_t at = text.find("charset=", from);
    if (at == std::string::npos || at >= to)
        return {};
    at += 8;
    while (at < to && (text[at] == '"' || text[at] == '\'' || text[at] == ' '))
        ++at;
    size_t end = at;
    while (end < to &&
           (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '-' || text[end] == '_'))
        ++end;
    return text.substr(at, end - at);
}

std::string metaCharset(std::string_view body) {
    // Declarations belong in the head; looking further only costs time on long pages.
    const std::string head = lowered(body.substr(0, 16384));
    for (size_t tag = head.find("<meta"); tag != std::string::npos; tag = head.find("<meta", tag + 5)) {
        size_t end = head.find('>', tag);
        if (end == std::string::npos)
            end = head.size();
        std::string charset = charsetAfter(head, tag, end);
        if (!charset.empty())
            return charset;
    }
    return {};
}

std::string undeclared(std::string_view body) {
    return IsValidUtf8(body) ? std::string(body) : FromGb18030(body);
}

} // namespace

std::string DecodeBody(std::string_view body, std::string_view contentType) {
    const std::string header = lowered(contentType);
    std::string charset = charsetAfter(header, 0, header.size());
    if (charset.empty())
        charset = metaCharset(body);
    if (charset.empty())
        return undeclared(body);
    if (charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "x-gbk" ||
        charset == "cp936")
        return FromGb18030(body);
    if (charset == "utf-8" || charset == "utf8")
        return SanitizeUtf8(body);
    QStringDecoder decoder(charset.c_str());
    if (!decoder.isValid())
        return undeclared(body);
    QString text = decoder.decode(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())));
    return text.toStdString();
}

struct HttpClient::Handle {
    std::unique_ptr<CURL, EasyFree> easy;
    std::unique_ptr<curl_slist, ListFree> headers;
    std::string body;
    char error[CURL_ERROR_SIZE] = {};
};

HttpClient::HttpClient(HttpOptions options) : handle_(std::make_unique<Handle>()) {
    globalInit();
    handle_->easy.reset(curl_easy_init());
    if (!handle_->easy)
        throw KavoError("cannot create an HTTP client");
    CURL* easy = handle_->easy.get();
    curl_slist* list =
        curl_slist_append(nullptr, "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    if (list)
        handle_->headers.reset(list);
    if (list && curl_slist_append(list, "Accept-Encoding: identity") == nullptr)
        throw KavoError("cannot create an HTTP client");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, ""); // a cookie store of this client alone
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, handle_->headers.get());
    curl_easy_setopt(easy, CURLOPT_PROXY, options.proxy.c_str()); // "" also ignores *_proxy variables
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, options.connectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, options.timeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &handle_->body);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, handle_->error);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(
        easy, CURLOPT_XFERINFOFUNCTION,
        +[](void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) -> int {
            auto& check = static_cast<HttpClient*>(self)->abortCheck_;
            return check && check() ? 1 : 0;
        });
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
}

HttpClient::~HttpClient() = default;

void HttpClient::SetReferer(const std::string& url) {
    referer_ = url;
    curl_easy_setopt(handle_->easy.get(), CURLOPT_REFERER, referer_.c_str());
}

void HttpClient::SetAbortCheck(std::function<bool()> check) {
    abortCheck_ = std::move(check);
}

std::string HttpClient::FetchPage(const std::string& url) {
    CURL* easy = handle_->easy.get();
    handle_->body.clear();
    handle_->error[0] = '\0';
    lastStatus_ = 0;
    retryAfter_ = -1;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    CURLcode rc = curl_easy_perform(easy);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    lastStatus_ = status;
    curl_off_t retryAfter = -1;
    if (curl_easy_getinfo(easy, CURLINFO_RETRY_AFTER, &retryAfter) == CURLE_OK && retryAfter > 0)
        retryAfter_ = static_cast<long>(retryAfter);
    if (rc != CURLE_OK) {
        std::string message = handle_->error[0] ? handle_->error : curl_easy_strerror(rc);
        throw KavoError(message + " (" + url + ")");
    }
    if (status < 200 || status > 299)
        throw KavoError("The requested URL returned error: " + std::to_string(status) + " (" + url + ")");
    char* contentType = nullptr;
    curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &contentType);
    std::string text = DecodeBody(handle_->body, contentType ? contentType : "");
    handle_->body.clear();
    return text;
}

} // namespace kavo
