// Archive unpacking into a scratch folder: whatever the archive says, nothing may appear outside the
// target folder.
#include "service/PackageFiles.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// One scratch folder per fuzzing process (scripts/fuzz.sh points TMPDIR at a folder it clears):
// <scratch>/archive.zip and the target <scratch>/a/b/c/out/, deep enough that a climb out of the target still
// lands where it is seen.
const fs::path& scratch() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("kavo-fuzz-unpack-" + std::to_string(::getpid()));
        fs::remove_all(p);
        fs::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(scratch(), ec);
        });
        return p;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path archive = scratch() / "archive.zip";
    const fs::path out = scratch() / "a" / "b" / "c" / "out";
    std::error_code ec;
    fs::remove_all(out, ec);
    fs::create_directories(out, ec);
    {
        std::ofstream file(archive, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::string error;
    (void)kavo::UnpackArchive(archive.string(), out.string(), &error);
    // Only the archive, the folders leading to the target and the target's own contents may exist.
    for (const auto& entry : fs::recursive_directory_iterator(scratch(), ec)) {
        const fs::path relative = entry.path().lexically_relative(scratch());
        const std::string text = relative.generic_string();
        const bool allowed = text == "archive.zip" || text == "a" || text == "a/b" || text == "a/b/c" ||
                             text.rfind("a/b/c/out", 0) == 0;
        if (!allowed) {
            std::fprintf(stderr, "unpacking wrote outside its folder: %s\n", entry.path().c_str());
            std::abort();
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(out, ec)) {
        if (entry.is_symlink()) {
            std::fprintf(stderr, "unpacking made a symbolic link: %s\n", entry.path().c_str());
            std::abort();
        }
    }
    return 0;
}
