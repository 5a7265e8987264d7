#pragma once

#include <string>

namespace kavo::test {

// A fresh program folder for one test: GetAppPath() points at it while the object lives,
// and it is removed afterwards.
class TempAppDir {
public:
    TempAppDir();
    ~TempAppDir();
    TempAppDir(const TempAppDir&) = delete;
    TempAppDir& operator=(const TempAppDir&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace kavo::test
