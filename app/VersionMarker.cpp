// The version marker that GetFileVersionStr reads from an executable without running it.
// It lives in its own ELF section so a reader never confuses it with other text in the file.
#include <cstdint>

extern "C" {
__attribute__((used, section(".kavo_version"))) const std::uint16_t kavoFileVersion[4] = {
    KAVO_VERSION_MAJOR, KAVO_VERSION_MINOR, KAVO_VERSION_PATCH, KAVO_VERSION_TWEAK};
}
