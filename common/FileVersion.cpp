#include "common/Global.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <vector>

namespace kavo {
namespace {

constexpr const char* kVersionSection = ".kavo_version";

template <typename T> bool readAt(std::ifstream& in, std::uint64_t offset, T& value) {
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(&value), sizeof value);
    return static_cast<bool>(in);
}

// Finds our version section in a 64-bit little-endian ELF file and reads its four numbers.
bool readVersion(const std::string& fileName, std::uint16_t (&version)[4]) {
    std::ifstream in(fileName, std::ios::binary);
    Elf64_Ehdr header{};
    if (!in || !readAt(in, 0, header))
        return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_ident[EI_DATA] != ELFDATA2LSB || header.e_shentsize != sizeof(Elf64_Shdr) ||
        header.e_shstrndx >= header.e_shnum || header.e_shnum > 4096)
        return false;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (unsigned i = 0; i < header.e_shnum; ++i)
        if (!readAt(in, header.e_shoff + i * sizeof(Elf64_Shdr), sections[i]))
            return false;
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    if (names.sh_size > (1u << 20))
        return false;
    std::vector<char> nameTable(names.sh_size + 1, '\0');
    in.seekg(static_cast<std::streamoff>(names.sh_offset));
    in.read(nameTable.data(), static_cast<std::streamsize>(names.sh_size));
    if (!in)
        return false;
    for (const auto& section : sections) {
        if (section.sh_name >= names.sh_size)
            continue;
        if (std::strcmp(nameTable.data() + section.sh_name, kVersionSection) != 0)
            continue;
        if (section.sh_size < sizeof version || section.sh_type == SHT_NOBITS)
            return false;
        return readAt(in, section.sh_offset, version);
    }
    return false;
}

} // namespace

std::string GetFileVersionStr(const std::string& fileName) {
    std::uint16_t version[4] = {};
    try {
        if (!readVersion(fileName, version))
            return "1.0.0.0";
    } catch (...) {
        return "1.0.0.0";
    }
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) +
           "." + std::to_string(version[3]);
}

} // namespace kavo
