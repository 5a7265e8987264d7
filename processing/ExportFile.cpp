#include "processing/ExportFile.h"

#include "common/Error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kavo {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void fail(const std::string& fileName, int error) {
    std::remove(fileName.c_str());
    throw KavoError("无法写入文件 " + fileName + " : " + std::strerror(error));
}

} // namespace

void WriteWholeFile(const std::string& fileName, const std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "wb"));
    if (!file)
        throw KavoError("无法写入文件 " + fileName + " : " + std::strerror(errno));
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0)
        fail(fileName, errno);
    // fclose reports what the buffered writes could not (a full disk on a network share, say).
    if (std::fclose(file.release()) != 0)
        fail(fileName, errno);
}

} // namespace kavo
