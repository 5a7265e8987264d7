// The low-level DES calls are deprecated in OpenSSL 3 but need no legacy provider at run time;
// the suppression is confined to this file.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "service/ConfigCipher.h"

#include <openssl/crypto.h>
#include <openssl/des.h>

#include <cstring>

namespace kavo {

DesKey FoldConfigKey(std::string_view key) {
    DesKey folded{};
    for (size_t i = 1; i <= key.size(); ++i)
        folded[i % 8] = static_cast<std::uint8_t>(folded[i % 8] + static_cast<unsigned char>(key[i - 1]));
    return folded;
}

std::string DesEcb(std::string_view data, const DesKey& key, bool encrypt) {
    DES_cblock block{};
    std::memcpy(block, key.data(), key.size());
    DES_key_schedule schedule;
    DES_set_key_unchecked(&block, &schedule);
    std::string out(data.size() / 8 * 8, '\0');
    for (size_t at = 0; at + 8 <= data.size(); at += 8) {
        DES_cblock in{}, result{};
        std::memcpy(in, data.data() + at, 8);
        DES_ecb_encrypt(&in, &result, &schedule, encrypt ? DES_ENCRYPT : DES_DECRYPT);
        std::memcpy(out.data() + at, result, 8);
    }
    OPENSSL_cleanse(&schedule, sizeof schedule);
    return out;
}

bool DecryptConfigStream(std::string_view source, std::string& dest, std::string_view key) {
    if (key.empty())
        return true;
    if (source.size() < 4)
        return false;
    const std::string_view cipher = source.substr(0, source.size() - 4);
    if (cipher.size() % 8 != 0)
        return false;
    const auto* tail = reinterpret_cast<const unsigned char*>(source.data() + cipher.size());
    const auto length = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(tail[0]) | static_cast<std::uint32_t>(tail[1]) << 8 |
        static_cast<std::uint32_t>(tail[2]) << 16 | static_cast<std::uint32_t>(tail[3]) << 24);
    if (length < 0 || static_cast<size_t>(length) > cipher.size())
        return false;
    dest = DesEcb(cipher, FoldConfigKey(key), false);
    dest.resize(static_cast<size_t>(length));
    return true;
}

std::string EncryptConfigStream(std::string_view plain, std::string_view key) {
    std::string padded(plain);
    padded.resize((plain.size() + 7) / 8 * 8, '\0');
    std::string out = DesEcb(padded, FoldConfigKey(key), true);
    const auto length = static_cast<std::uint32_t>(plain.size());
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((length >> shift) & 0xFF);
    return out;
}

} // namespace kavo
