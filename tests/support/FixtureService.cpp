#include "FixtureService.h"

#include "TempAppDir.h"

#include <httplib.h>
#include <minizip/zip.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace kavo::test {

struct Reply {
    int status = 200;
    std::string body;
    std::string location;
    std::chrono::milliseconds delay{0};
};

struct FixtureService::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    std::map<std::string, Reply> replies;
    std::map<std::string, size_t> counts;

    void handle(const httplib::Request& req, httplib::Response& res) {
        Reply reply;
        {
            std::unique_lock lock(mutex);
            ++counts[req.path];
            auto found = replies.find(req.path);
            if (found == replies.end()) {
                res.status = 404;
                res.set_content("<html><body>404 Not Found</body></html>", "text/html");
                return;
            }
            reply = found->second;
            if (reply.delay.count() > 0)
                stopped.wait_for(lock, reply.delay, [&] { return stopping; });
        }
        res.status = reply.status;
        if (!reply.location.empty())
            res.set_header("Location", reply.location);
        res.set_content(reply.body, "application/octet-stream");
    }
};

FixtureService::FixtureService() : impl_(std::make_unique<Impl>()) {
    impl_->server.new_task_queue = [] { return new httplib::ThreadPool(8); };
    impl_->server.set_tcp_nodelay(true);
    impl_->server.Get(
        ".*", [this](const httplib::Request& req, httplib::Response& res) { impl_->handle(req, res); });
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0)
        throw std::runtime_error("the fixture service cannot listen on 127.0.0.1");
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FixtureService::~FixtureService() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->stopped.notify_all();
    impl_->server.stop();
    if (impl_->thread.joinable())
        impl_->thread.join();
}

std::string FixtureService::base(const std::string& candidate) const {
    return "http://127.0.0.1:" + std::to_string(impl_->port) + "/" + candidate + "/";
}

std::string FixtureService::ClosedBase() {
    // Port 1 on loopback: nothing of ours listens there, and connecting is refused at once.
    return "http://127.0.0.1:1/";
}

void FixtureService::Put(const std::string& path, std::string body, int status,
                         std::chrono::milliseconds delay) {
    std::lock_guard lock(impl_->mutex);
    impl_->replies[path] = Reply{status, std::move(body), {}, delay};
}

void FixtureService::PutRedirect(const std::string& path, const std::string& location) {
    std::lock_guard lock(impl_->mutex);
    impl_->replies[path] = Reply{302, "", location, {}};
}

void FixtureService::PutCheck(const std::string& candidate, const std::string& body,
                              std::chrono::milliseconds delay) {
    Put("/" + candidate + "/check.txt", body, 200, delay);
}

void FixtureService::PutConfig(const std::string& candidate, const std::string& enciphered) {
    Put("/" + candidate + "/soft/wovt/config.txt", enciphered);
}

size_t FixtureService::Count(const std::string& path) const {
    std::lock_guard lock(impl_->mutex);
    auto found = impl_->counts.find(path);
    return found == impl_->counts.end() ? 0 : found->second;
}

std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries,
                    const std::vector<std::string>& executables) {
    // Not a TempAppDir: that would move the program folder of the test that asks.
    std::string path = (std::filesystem::temp_directory_path() / "kavo-zip-XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0)
        throw std::runtime_error("cannot create a temporary file");
    close(fd);
    zipFile zip = zipOpen64(path.c_str(), 0);
    if (!zip)
        throw std::runtime_error("cannot create a zip archive");
    for (const auto& [name, bytes] : entries) {
        zip_fileinfo info{};
        const bool executable = std::find(executables.begin(), executables.end(), name) != executables.end();
        info.external_fa = static_cast<uLong>(executable ? 0100755 : 0100644) << 16;
        // Version made by: Unix (3) in the high byte, so readers take the mode from external_fa.
        zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 0,
                                -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 3 << 8, 0, 0);
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    std::string bytes = ReadFileBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

} // namespace kavo::test
