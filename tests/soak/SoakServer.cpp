// soak_server: the fixture marketplace on 127.0.0.1 with faults injected at random, until SIGINT/SIGTERM.
//   soak_server --dir DIR [--pages N] [--fault-rate R] [--seed S] [--drip-ms M] [--delay-ms D]
// Writes [hosts] and short [network] timeouts into DIR/kavo.cfg, the port into DIR/soak.port and one line
// per injected fault into DIR/soak-faults.tsv: Unix time in ms, kind, whether the request fails, request
// target.
#include "FixtureMarketplace.h"

#include "common/Global.h"
#include "common/Settings.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>

using namespace kavo;
using namespace kavo::test;
using namespace std::chrono;

namespace {

volatile std::sig_atomic_t stopSignal = 0;
extern "C" void onStop(int) {
    stopSignal = 1;
}

// Accepts connections, reads a little of the request and answers with a TCP reset.
class ResetListener {
public:
    ResetListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd_, 64) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("the reset listener cannot listen on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~ResetListener() {
        stopping_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    int port() const { return port_; }

private:
    void run() {
        while (!stopping_) {
            const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            char buffer[512];
            [[maybe_unused]] auto got = ::recv(client, buffer, sizeof buffer, 0);
            const linger abrupt{1, 0};
            ::setsockopt(client, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
            ::close(client);
        }
    }

    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

struct Options {
    std::string dir;
    int pages = 1000;
    double faultRate = 0.15;
    unsigned seed = std::random_device{}();
    int dripMs = 40;
    int delayMs = 0;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--dir")
            options.dir = value;
        else if (name == "--pages")
            options.pages = std::stoi(value);
        else if (name == "--fault-rate")
            options.faultRate = std::stod(value);
        else if (name == "--seed")
            options.seed = static_cast<unsigned>(std::stoul(value));
        else if (name == "--drip-ms")
            options.dripMs = std::stoi(value);
        else if (name == "--delay-ms")
            options.delayMs = std::stoi(value);
        else
            throw std::runtime_error("unknown option " + name);
    }
    if (options.dir.empty())
        throw std::runtime_error("usage: soak_server --dir DIR [--pages N] [--fault-rate R] [--seed S] "
                                 "[--drip-ms M] [--delay-ms D]");
    return options;
}

const char* const kGarbage[] = {
    "<html><body><h1>访问验证</h1><p>请拖动滑块完成验证</p></body></html>",
    "\x89PNG\r\n\x1a\n\xff\xfe\x00\x00 not a page at all \xc3\x28",
    "<html><head><meta charset=\"big5\"></head><body>offerid=\"<a href=\"</a></div></body>",
    "{\"error\":\"rate limited\",\"retry\":true}",
};

} // namespace

int main(int argc, char** argv) try {
    const Options options = parse(argc, argv);
    SetAppPath(options.dir);
    std::signal(SIGINT, onStop);
    std::signal(SIGTERM, onStop);

    FixtureMarketplace market;
    ResetListener resets;
    market.SetPageCount(options.pages);
    market.SetDelay(milliseconds(options.delayMs));
    market.ConfigureHosts();
    // Short enough that a stalled transfer costs seconds, long enough for every slow drip to finish.
    WriteSetting(setting::NetworkConnectTimeout, "3");
    WriteSetting(setting::NetworkTimeout, "5");

    std::mutex mutex;
    std::mt19937 random(options.seed);
    std::ofstream faults(GetAppPath() + "soak-faults.tsv", std::ios::app);
    std::map<std::string, int> counts;
    const std::string loopMark = "kavo-loop=";

    market.SetFault([&](const FixtureRequest& request) -> std::optional<FixtureReply> {
        FixtureReply reply;
        // A redirect loop, once begun, goes on until the client gives up.
        const auto loop = request.target.find(loopMark);
        if (loop != std::string::npos) {
            const int hop = std::atoi(request.target.c_str() + loop + loopMark.size());
            reply.status = 302;
            reply.headers.emplace_back("Location",
                                       request.target.substr(0, loop) + loopMark + std::to_string(hop + 1));
            return reply;
        }
        std::lock_guard lock(mutex);
        if (std::uniform_real_distribution<double>(0, 1)(random) >= options.faultRate)
            return std::nullopt;
        static const char* const kinds[] = {"500",  "429",     "reset",        "truncated",
                                            "drip", "garbage", "redirect-loop"};
        const std::string kind = kinds[std::uniform_int_distribution<int>(0, 6)(random)];
        bool fails = true;
        if (kind == "500") {
            reply.status = 500;
            reply.body = "<html><body>500 Internal Server Error</body></html>";
        } else if (kind == "429") {
            reply.status = 429;
            reply.headers.emplace_back("Retry-After", "1");
            reply.body = "<html><body>Too Many Requests</body></html>";
        } else if (kind == "reset") {
            reply.status = 302;
            reply.headers.emplace_back("Location",
                                       "http://127.0.0.1:" + std::to_string(resets.port()) + request.target);
        } else if (kind == "truncated") {
            reply.keepAnswer = true;
            reply.cutAfter = std::uniform_int_distribution<size_t>(0, 200)(random);
        } else if (kind == "drip") {
            reply.keepAnswer = true;
            reply.dripBytes = 64;
            reply.dripPause = milliseconds(options.dripMs);
            fails = false; // slow, but well inside the client's time-out
        } else if (kind == "garbage") {
            reply.body = kGarbage[std::uniform_int_distribution<int>(0, 3)(random)];
            fails = false; // a page that reads as nothing, not a failed request
        } else {
            reply.status = 302;
            reply.headers.emplace_back(
                "Location", request.target + (request.target.find('?') == std::string::npos ? "?" : "&") +
                                loopMark + "1");
        }
        ++counts[kind];
        faults << duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() << '\t' << kind
               << '\t' << (fails ? 1 : 0) << '\t' << request.target << '\n'
               << std::flush;
        return reply;
    });

    {
        std::ofstream port(GetAppPath() + "soak.port.part");
        port << market.port() << '\n';
    }
    std::rename((GetAppPath() + "soak.port.part").c_str(), (GetAppPath() + "soak.port").c_str());
    std::cout << "soak_server: " << market.base() << ", fault rate " << options.faultRate << ", seed "
              << options.seed << std::endl;

    // The request log is only counted here: emptied as it goes, so a long soak does not grow without end.
    size_t requests = 0;
    for (int tick = 1; !stopSignal; ++tick) {
        std::this_thread::sleep_for(milliseconds(100));
        if (tick % 50 == 0) {
            requests += market.Requests().size();
            market.ClearRequests();
        }
    }
    market.SetFault(nullptr);
    requests += market.Requests().size();
    std::lock_guard lock(mutex);
    std::cout << "soak_server: " << requests << " requests; faults:";
    for (const auto& [kind, count] : counts)
        std::cout << " " << kind << " " << count;
    std::cout << std::endl;
    return 0;
} catch (const std::exception& error) {
    std::cerr << "soak_server: " << error.what() << "\n";
    return 1;
}
