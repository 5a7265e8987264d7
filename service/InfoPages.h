#pragma once

#include "common/WorkerThread.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace kavo {

// The contact reply split at "|" the lenient way: blanks and control characters outside double quotes
// also end a field and are skipped around separators, a quoted field is taken whole, "||" gives an
// empty field and a final "|" one more.
std::vector<std::string> SplitContactReply(const std::string& reply);

// Fields of a contact reply with at least 5 fields; false otherwise (the window then stays as it is).
struct ContactInfo {
    std::string tel, qq, company, person;
};
bool ReadContactReply(const std::string& reply, ContactInfo& info);

// Addresses on the chosen server; empty when the service is not configured.
std::string ContactPageUrl(const std::string& agentCode);
std::string DescriptionPageUrl();
std::string PopupPageUrl();
// On the first configured candidate (not the chosen server), with the enciphered token.
std::string SuggestionsPageUrl(const std::string& agentCode);
// "%s|%s|%d" (client version, agent code, a random 1..1000) in GB18030, zero-padded, DES-ECB under a
// fixed key, as upper-case hexadecimal.
std::string SuggestionToken(const std::string& agentCode, int random);
// The QQ chat link for a number.
std::string QqChatUrl(const std::string& number);

// Fetches an information page on its own thread; `onReply` runs on `owner`'s thread with the body
// when the fetch succeeded, and never once the returned thread or the owner is gone.
std::unique_ptr<WorkerThread> FetchInfoPage(QObject* owner, const std::string& url,
                                            std::function<void(const std::string& body)> onReply);

} // namespace kavo
