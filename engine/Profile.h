#pragma once

#include "engine/Listing.h"

#include <string>
#include <string_view>

namespace kavo {

// Whether a homepage is read in the contact-name layout: its address, lower-cased, holds the prefix.
bool UsesContactNameLayout(const std::string& homepage, const std::string& layoutPrefix);

// The field rules of each page kind, applied to a page's decoded text.
void ReadContactNameLayout(std::string_view page, TTaskDeail& entry);
void ReadMembernameLayout(std::string_view page, TTaskDeail& entry);
void ReadMobileFields(std::string_view page, TTaskDeail& entry);

// The profile steps of the worker. Neither raises: a failed fetch leaves the fields it would have filled
// as they were, and the step answers false.
bool ReadContactPage(TTaskDeail& entry, HttpClient& http, const MarketHosts& hosts, const UrlNotice& notice);
bool ReadMobileProfile(TTaskDeail& entry, HttpClient& http, const MarketHosts& hosts);

} // namespace kavo
