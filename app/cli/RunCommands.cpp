// kavo-cli commands that reach the marketplace: url (the search address) and run (a task in the foreground).
#include "Command.h"
#include "Store.h"

#include "common/Global.h"
#include "common/Settings.h"
#include "engine/Listing.h"
#include "engine/MarketHosts.h"
#include "engine/TaskCard.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kavo::cli {
namespace {

int printUrl(const Args& args, Context& context) {
    args.allowOnly({"page"});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "ID"), "ID");
    Store store = OpenStore();
    auto task = LoadOneTask(store, id);
    const int page = args.optionInt("page", task->lastpage);
    if (page < 0)
        throw UsageError{"--page must not be negative"};
    MarketHosts hosts;
    LoadMarketHosts(hosts);
    if (hosts.desktop.empty()) {
        context.err << "kavo-cli: " << SettingName(setting::HostsDesktop) << " is not set in "
                    << SettingsFilePath() << "\n";
        return 1;
    }
    context.out << BuildSearchUrl(*task, page, hosts.desktop) << "\n";
    return 0;
}

// Ctrl-C reaches the event loop through a pipe: a signal handler may do nothing more than write.
int signalPipe[2] = {-1, -1};

extern "C" void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(signalPipe[1], &byte, 1);
}

class InterruptGuard {
public:
    InterruptGuard() {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            throw std::runtime_error("cannot watch for Ctrl-C");
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previous_);
        ::sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~InterruptGuard() {
        ::sigaction(SIGINT, &previous_, nullptr);
        ::sigaction(SIGTERM, &previousTerm_, nullptr);
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
    int readEnd() const { return signalPipe[0]; }
    // Empties the pipe; the number of interrupts that arrived.
    int drain() const {
        char buffer[16];
        int count = 0;
        for (ssize_t n; (n = ::read(signalPipe[0], buffer, sizeof buffer)) > 0;)
            count += static_cast<int>(n);
        return count;
    }

private:
    struct sigaction previous_ {};
    struct sigaction previousTerm_ {};
};

std::string statsLine(const WorkStats& stats) {
    return "stored " + std::to_string(stats.stored) + ", skipped " + std::to_string(stats.skipped) +
           ", page " + std::to_string(stats.page) + ", errors " + std::to_string(stats.errors);
}

int runTask(const Args& args, Context& context) {
    args.allowOnly({});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "ID"), "ID");
    Store store = OpenStore();
    // As in the desktop program: the worker's errors and contact pages go to logs.txt.
    LogEnabled = true;
    TaskCard card(*store.tasks, LoadOneTask(store, id));
    store.tasks->SetOnGetTaskItem([&card, id](pTaskDeail record) {
        if (record->PID == id)
            card.IncNum(0);
    });

    InterruptGuard interrupts;
    const auto started = card.StartWork();
    if (started != TaskCard::StartResult::Started) {
        if (started == TaskCard::StartResult::TargetReached)
            context.err << "kavo-cli: task " << id << " has already reached its target of " << card.iMaxCount
                        << " records\n";
        else if (card.LastRefusal().empty())
            context.err << "kavo-cli: task " << id << " could not start\n";
        // A missing setting was already reported, naming the setting.
        return 1;
    }

    const bool live = ::isatty(STDERR_FILENO) == 1;
    bool stopRequested = false, aborted = false;
    auto showProgress = [&] {
        if (live)
            context.err << "\r\033[K" << statsLine(card.Stats()) << std::flush;
    };
    QObject::connect(&card, &TaskCard::ended, [&] { QCoreApplication::quit(); });
    QObject::connect(&card, &TaskCard::countChanged, [&](int) { showProgress(); });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, showProgress);
    if (live)
        ticker.start(250);

    QSocketNotifier notifier(interrupts.readEnd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        const int count = interrupts.drain();
        if (!stopRequested && count == 1) {
            stopRequested = true;
            card.StopWork();
            context.err << (live ? "\r\033[K" : "")
                        << "stopping after the company in hand (Ctrl-C again to abort at once)\n";
            return;
        }
        aborted = true;
        card.AbortWork();
        QCoreApplication::quit();
    });

    QCoreApplication::exec();
    if (aborted)
        card.AbortWork();
    const WorkStats stats = card.Stats();
    const char* how = aborted                                       ? "aborted"
                      : card.LastRunExhausted()                     ? "results exhausted"
                      : card.TaskInfo()->getcount >= card.iMaxCount ? "target reached"
                                                                    : "stopped";
    if (live)
        context.err << "\r\033[K";
    context.out << "task " << id << ": " << statsLine(stats) << ", collected " << card.TaskInfo()->getcount
                << "/" << card.iMaxCount << " (" << how << ")\n";
    return aborted ? 130 : 0;
}

const CommandRegistration registrations[] = {
    CommandRegistration(
        {"url",
         "url ID [--page N]",
         "Prints the marketplace search address of result page N of the task (default: the page "
         "it would ask for next).",
         {},
         printUrl}),
    CommandRegistration(
        {"run",
         "run ID",
         "Runs the task in the foreground until its results end, its target is reached or Ctrl-C "
         "(once: finish the company in hand and stop; twice: abort at once).",
         {},
         runTask}),
};

} // namespace
} // namespace kavo::cli
