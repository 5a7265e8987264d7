#include "common/Encoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kavo {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// One iconv descriptor, closed on every path. Each thread keeps its own (iconv state is not shareable).
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; an input sequence that cannot be converted is replaced by `replacement`
    // and skipped by `skipBytes(in)` bytes.
    template <typename Skip>
    std::string convert(std::string_view in, std::string_view replacement, Skip skipBytes) {
        std::string out;
        if (!valid())
            return std::string(in);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.reserve(in.size() * 3 / 2 + 8);
        char buffer[4096];
        auto* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end): replace and move on.
            out.append(replacement);
            size_t skip = std::min(srcLeft, skipBytes(std::string_view(src, srcLeft)));
            src += skip;
            srcLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        return out;
    }

private:
    iconv_t cd_;
};

size_t utf8SequenceLength(std::string_view s) {
    auto c = static_cast<unsigned char>(s[0]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    // Skip only the bytes that really continue the sequence.
    size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

size_t oneByte(std::string_view) {
    return 1;
}

} // namespace

std::string ToGb18030(std::string_view utf8) {
    thread_local Converter conv("GB18030", "UTF-8");
    return conv.convert(utf8, "?", utf8SequenceLength);
}

std::string FromGb18030(std::string_view bytes) {
    thread_local Converter conv("UTF-8", "GB18030");
    return conv.convert(bytes, kReplacementUtf8, oneByte);
}

std::string ToGbk(std::string_view utf8) {
    thread_local Converter conv("GBK", "UTF-8");
    return conv.convert(utf8, "?", utf8SequenceLength);
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t n;
        unsigned int cp;
        if ((c >> 5) == 0x6) {
            n = 2;
            cp = c & 0x1F;
        } else if ((c >> 4) == 0xE) {
            n = 3;
            cp = c & 0x0F;
        } else if ((c >> 3) == 0x1E) {
            n = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

std::string SanitizeUtf8(std::string_view s) {
    if (IsValidUtf8(s))
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        size_t n = utf8SequenceLength(s.substr(i));
        std::string_view piece = s.substr(i, n);
        if (IsValidUtf8(piece))
            out.append(piece);
        else
            out.append(kReplacementUtf8);
        i += n;
    }
    return out;
}

} // namespace kavo
