#pragma once

#include <string>

namespace kavo {

// Writes `bytes` as the whole file. On any failure the partial file is removed and KavoError raised
// with a message that names the file and the reason.
void WriteWholeFile(const std::string& fileName, const std::string& bytes);

} // namespace kavo
