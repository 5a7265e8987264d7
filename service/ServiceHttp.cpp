#include "service/ServiceHttp.h"

#include "engine/HttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace kavo {
namespace {

struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

struct Transfer {
    const ServiceRequest* request;
    std::string* body;
};

size_t appendBody(char* data, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->body->append(data, size * count);
    return size * count;
}

int onProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<Transfer*>(user);
    if (transfer->request->abort && transfer->request->abort())
        return 1;
    if (transfer->request->onProgress && now > 0)
        transfer->request->onProgress(static_cast<std::int64_t>(now), static_cast<std::int64_t>(total));
    return 0;
}

} // namespace

ServiceReply ServiceGet(const std::string& url, const ServiceRequest& request) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    ServiceReply reply;
    std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
    if (!easy) {
        reply.error = "cannot create an HTTP client";
        return reply;
    }
    Transfer transfer{&request, &reply.body};
    char error[CURL_ERROR_SIZE] = {};
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, request.timeoutMs);
    if (request.http10)
        curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);

    const CURLcode rc = curl_easy_perform(e);
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.transferred = rc == CURLE_OK;
    if (!reply.transferred)
        reply.error = error[0] ? error : curl_easy_strerror(rc);
    return reply;
}

} // namespace kavo
