#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {

// A service server of our own on 127.0.0.1 (random port). Several "candidates" share it, each under
// its own path prefix: base("a") is "http://127.0.0.1:PORT/a/". Anything not put in answers 404.
class FixtureService {
public:
    FixtureService();
    ~FixtureService();
    FixtureService(const FixtureService&) = delete;
    FixtureService& operator=(const FixtureService&) = delete;

    std::string base(const std::string& candidate) const;
    // A base address where nothing listens.
    static std::string ClosedBase();

    // Serves `body` at `path` (no query), after `delay` (a stopping fixture cuts the wait short).
    void Put(const std::string& path, std::string body, int status = 200,
             std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    void PutRedirect(const std::string& path, const std::string& location);
    // check.txt of a candidate: "OK" for a good one.
    void PutCheck(const std::string& candidate, const std::string& body,
                  std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // The enciphered document at candidate + "soft/wovt/config.txt".
    void PutConfig(const std::string& candidate, const std::string& enciphered);

    size_t Count(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A zip archive (deflated entries, Unix mode 0755 for names in `executables`) as bytes.
std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries,
                    const std::vector<std::string>& executables = {});

} // namespace kavo::test
