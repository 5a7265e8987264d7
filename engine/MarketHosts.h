#pragma once

#include <string>

namespace kavo {

// Where the marketplace lives: settings of "kavo.cfg" [hosts], never constants.
struct MarketHosts {
    std::string desktop; // base of the desktop site, no trailing "/"
    std::string mobile;  // base of the mobile site, no trailing "/"
    std::string layout;  // lower-case marker of contact pages in the contact-name layout
};

// The host of a base address without its last dot-label: "http://www.example.com" → "www.example".
std::string DefaultLayoutPrefix(const std::string& desktopBase);

// Reads [hosts]. Returns "" when both addresses are set, otherwise a message for the user that names
// the missing setting.
std::string LoadMarketHosts(MarketHosts& hosts);

} // namespace kavo
