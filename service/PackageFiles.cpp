#include "service/PackageFiles.h"

#include <openssl/evp.h>
#include <unzip.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace kavo {
namespace {

struct UnzipClose {
    void operator()(void* file) const { unzClose(file); }
};
struct DigestFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

template <typename Consume> bool readChunks(const std::string& path, Consume consume) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (in.gcount() > 0)
            consume(buffer.data(), static_cast<size_t>(in.gcount()));
    }
    return in.eof();
}

bool fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

// Lexically inside `folder`: no absolute name, no drive, no climb out. Backslashes count as separators.
bool safeEntryName(std::string name, fs::path& relative) {
    for (char& c : name)
        if (c == '\\')
            c = '/';
    if (name.empty() || name.front() == '/' || (name.size() > 1 && name[1] == ':'))
        return false;
    relative = fs::path(name).lexically_normal();
    if (relative.empty() || relative.is_absolute())
        return false;
    const auto first = *relative.begin();
    return first != ".." && first != "/";
}

std::string entryName(unzFile zip, unz_file_info64& info) {
    std::vector<char> name(1024, '\0');
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), name.size() - 1, nullptr, 0, nullptr, 0) != UNZ_OK)
        return {};
    return std::string(name.data());
}

bool extractCurrent(unzFile zip, const unz_file_info64& info, const fs::path& target, std::string* error) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return fail(error, "cannot open entry " + target.string());
    const fs::path part = target.string() + ".kavo-part";
    bool written = true;
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        std::vector<char> buffer(1 << 16);
        int got = 0;
        while ((got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0)
            out.write(buffer.data(), got);
        written = out.good() && got == 0;
    }
    // Also verifies the entry's CRC.
    written = unzCloseCurrentFile(zip) == UNZ_OK && written;
    if (!written) {
        fs::remove(part, ec);
        return fail(error, "corrupt entry " + target.string());
    }
    // Keep the mode of the file being replaced; a new file takes the archive's Unix mode, if any.
    fs::perms mode =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    const auto host = info.version >> 8;
    if (fs::exists(target, ec))
        mode = fs::status(target, ec).permissions();
    else if (host == 3 && (info.external_fa >> 16) != 0)
        mode = static_cast<fs::perms>((info.external_fa >> 16) & 0777);
    fs::permissions(part, mode, ec);
    fs::rename(part, target, ec);
    if (ec) {
        fs::remove(part, ec);
        return fail(error, "cannot replace " + target.string());
    }
    return true;
}

} // namespace

std::uint32_t FileCrc32(const std::string& path) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const bool read = readChunks(path, [&](const char* data, size_t size) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
    });
    return read ? static_cast<std::uint32_t>(crc) : 0;
}

std::string FileSha256(const std::string& path) {
    std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        return {};
    if (!readChunks(path,
                    [&](const char* data, size_t size) { EVP_DigestUpdate(context.get(), data, size); }))
        return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        return {};
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 0xF];
    }
    return text;
}

bool UnpackArchive(const std::string& archive, const std::string& folder, std::string* error) {
    std::unique_ptr<void, UnzipClose> zip(unzOpen64(archive.c_str()));
    if (!zip)
        return fail(error, "not a zip archive: " + archive);
    const fs::path root = fs::path(folder).lexically_normal();
    std::vector<fs::path> targets;
    // First pass: every name is checked before a single byte is written.
    int rc = unzGoToFirstFile(zip.get());
    for (; rc == UNZ_OK; rc = unzGoToNextFile(zip.get())) {
        unz_file_info64 info{};
        const std::string name = entryName(zip.get(), info);
        fs::path relative;
        if (!safeEntryName(name, relative))
            return fail(error, "entry outside the target folder: " + name);
        targets.push_back(root / relative);
    }
    if (rc != UNZ_END_OF_LIST_OF_FILE)
        return fail(error, "unreadable archive: " + archive);
    size_t index = 0;
    for (rc = unzGoToFirstFile(zip.get()); rc == UNZ_OK && index < targets.size();
         rc = unzGoToNextFile(zip.get()), ++index) {
        unz_file_info64 info{};
        const std::string name = entryName(zip.get(), info);
        std::error_code ec;
        if (name.back() == '/' || name.back() == '\\') {
            fs::create_directories(targets[index], ec);
            continue;
        }
        if (!extractCurrent(zip.get(), info, targets[index], error))
            return false;
    }
    return true;
}

int ProgressPercent(std::int64_t done, std::int64_t total) {
    if (total <= 0)
        return 0;
    // In integers: a double would turn some exact halves into near-halves.
    const std::int64_t scaled = done * 100;
    std::int64_t quotient = scaled / total;
    const std::int64_t twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

} // namespace kavo
