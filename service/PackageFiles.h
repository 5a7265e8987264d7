#pragma once

#include <cstdint>
#include <string>

namespace kavo {

// Standard reflected CRC-32 (zlib's) of a file; 0 when it cannot be read.
std::uint32_t FileCrc32(const std::string& path);
// Lower-case hexadecimal SHA-256 of a file; empty when it cannot be read.
std::string FileSha256(const std::string& path);

// Unpacks every entry of a zip archive into `folder`, replacing existing files (a running program is
// replaced by renaming over it). Before anything is written, every entry name is checked: an
// absolute name or one that climbs out of `folder` fails the whole unpack. Returns false on any fault
// (`error` says which); the archive itself is left alone.
bool UnpackArchive(const std::string& archive, const std::string& folder, std::string* error = nullptr);

// Whole percent of `done` out of `total` (total > 0), halves rounded to the even neighbour.
int ProgressPercent(std::int64_t done, std::int64_t total);

} // namespace kavo
