// The pattern helpers as the engine drives them: every extraction pattern of the listing, both contact
// layouts and the mobile profile over arbitrary page text, valid UTF-8 or not.
#include "engine/Listing.h"
#include "engine/Patterns.h"
#include "engine/Profile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    // Half the inputs go through the listing step, which raises on an engine error: caught, as the worker
    // does.
    try {
        for (const auto& entry : kavo::ParseListing(page, 1))
            (void)kavo::Utf8Length(entry->comname);
    } catch (const std::exception&) {
    }
    kavo::TTaskDeail entry;
    kavo::ReadContactNameLayout(page, entry);
    kavo::ReadMembernameLayout(page, entry);
    kavo::ReadMobileFields(page, entry);
    (void)kavo::StripMatches(page, kavo::kTagPattern);
    (void)kavo::Trimmed(page);
    // The first line as a marker pair, the way the steps cut fields out of a match.
    const auto newline = page.find('\n');
    if (newline != std::string_view::npos) {
        const std::string_view markers = page.substr(0, newline);
        const auto half = markers.size() / 2;
        (void)kavo::TextBetween(page.substr(newline + 1), markers.substr(0, half), markers.substr(half));
    }
    return 0;
}
