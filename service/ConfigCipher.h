#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavo {

// The key of the configuration document, used as bytes.
inline constexpr std::string_view kConfigKey = "rkw7m2tbz";

using DesKey = std::array<std::uint8_t, 8>;

// Key byte i (1-based) is added, modulo 256, onto byte i mod 8 of eight zero bytes; no parity fix-up.
DesKey FoldConfigKey(std::string_view key);

// DES (FIPS 46-3) in ECB mode, each 8-byte block on its own; `data` must be a multiple of 8 long.
std::string DesEcb(std::string_view data, const DesKey& key, bool encrypt);

// Wire layout: ciphertext (the plaintext zero-padded to a multiple of 8, DES-ECB under the folded key)
// followed by the plaintext length as a signed 32-bit little-endian number.
// Returns false, writing nothing, for a document that is not in that layout: a length that is not a
// multiple of 8 plus 4, or a trailer length that is negative or longer than the deciphered data.
// An empty key does nothing (and is no failure).
bool DecryptConfigStream(std::string_view source, std::string& dest, std::string_view key);
// The exact inverse, for the vendor-side tool and tests.
std::string EncryptConfigStream(std::string_view plain, std::string_view key);

} // namespace kavo
