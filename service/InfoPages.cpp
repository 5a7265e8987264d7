#include "service/InfoPages.h"

#include "common/Encoding.h"
#include "common/Global.h"
#include "service/ConfigCipher.h"
#include "service/ServiceHttp.h"
#include "service/ServiceServers.h"

namespace kavo {
namespace {

constexpr std::string_view kSuggestionKey = "kv7o2sgt";

bool blank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::vector<std::string> SplitContactReply(const std::string& reply) {
    std::vector<std::string> fields;
    size_t at = 0;
    const size_t end = reply.size();
    while (at < end && blank(reply[at]))
        ++at;
    while (at < end) {
        std::string field;
        if (reply[at] == '"') {
            ++at;
            while (at < end) {
                if (reply[at] == '"') {
                    if (at + 1 < end && reply[at + 1] == '"') {
                        field += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field += reply[at++];
            }
        } else {
            const size_t start = at;
            while (at<end&& static_cast<unsigned char>(reply[at])> ' ' && reply[at] != '|')
                ++at;
            field = reply.substr(start, at - start);
        }
        fields.push_back(field);
        while (at < end && blank(reply[at]))
            ++at;
        if (at < end && reply[at] == '|') {
            if (at + 1 == end)
                fields.emplace_back();
            ++at;
            while (at < end && blank(reply[at]))
                ++at;
        }
    }
    return fields;
}

bool ReadContactReply(const std::string& reply, ContactInfo& info) {
    const auto fields = SplitContactReply(reply);
    if (fields.size() < 5)
        return false;
    info = ContactInfo{fields[0], fields[1], fields[2], fields[3]};
    return true;
}

std::string ContactPageUrl(const std::string& agentCode) {
    const std::string base = ServiceBaseUrl();
    return base.empty() ? base : base + "http.aspx?action=contact&user=" + agentCode;
}

std::string DescriptionPageUrl() {
    const std::string base = ServiceBaseUrl();
    return base.empty() ? base : base + "http.aspx?action=des&t=12";
}

std::string PopupPageUrl() {
    const std::string base = ServiceBaseUrl();
    return base.empty() ? base : base + "pop.aspx?ver=" + ClientVersion + "&t=13";
}

std::string SuggestionToken(const std::string& agentCode, int random) {
    std::string plain =
        ToGb18030(std::string(ClientVersion) + "|" + agentCode + "|" + std::to_string(random));
    plain.resize((plain.size() + 7) / 8 * 8, '\0');
    DesKey key{};
    for (size_t i = 0; i < kSuggestionKey.size() && i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(kSuggestionKey[i]);
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string token;
    for (unsigned char c : DesEcb(plain, key, true)) {
        token += hex[c >> 4];
        token += hex[c & 0xF];
    }
    return token;
}

std::string SuggestionsPageUrl(const std::string& agentCode) {
    const auto candidates = ServerCandidates();
    if (candidates.empty())
        return {};
    return candidates.front() + "http.aspx?action=Opinion&u=" + SuggestionToken(agentCode, RandomUpTo(1000));
}

std::string QqChatUrl(const std::string& number) {
    return "http://wpa.qq.com/msgrd?v=3&uin=" + number + "&site=qq&menu=yes";
}

} // namespace kavo

namespace kavo {

std::unique_ptr<WorkerThread> FetchInfoPage(QObject* owner, const std::string& url,
                                            std::function<void(const std::string& body)> onReply) {
    auto reply = std::make_shared<std::string>();
    auto fetch = std::make_unique<WorkerThread>(owner, [reply, onReply = std::move(onReply)](WorkerThread&) {
        if (!reply->empty())
            onReply(*reply);
    });
    fetch->Start([url, reply](WorkerThread& thread) {
        ServiceRequest request;
        request.followRedirects = true;
        request.connectTimeoutMs = 15000;
        request.timeoutMs = 60000;
        request.abort = [&thread] { return thread.Aborted(); };
        ServiceReply answer = ServiceGet(url, request);
        if (answer.ok())
            *reply = answer.body;
    });
    return fetch;
}

} // namespace kavo
