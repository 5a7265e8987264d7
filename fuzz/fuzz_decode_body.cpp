// Page bodies decoded by the character set their Content-Type or meta declaration names.
#include "common/Encoding.h"
#include "engine/HttpClient.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// The first line of the input is the Content-Type header, the rest is the body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto newline = input.find('\n');
    const std::string_view contentType = newline == std::string_view::npos ? "" : input.substr(0, newline);
    const std::string_view body = newline == std::string_view::npos ? input : input.substr(newline + 1);
    const std::string text = kavo::DecodeBody(body, contentType);
    // Everything after decoding is matched by PCRE2 in UTF-8 mode: the result must be valid UTF-8.
    if (!kavo::IsValidUtf8(text))
        std::abort();
    return 0;
}
