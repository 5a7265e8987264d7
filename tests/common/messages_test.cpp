#include "common/Messages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace kavo;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_common";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// Runs the main thread's event loop until `done` is true.
void pumpUntil(const std::atomic<bool>& done) {
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(Messages, SentFromAnotherThreadIsAnsweredOnTheReceiversThread) {
    app();
    std::thread::id handledOn;
    MessageReceiver receiver([&](int msg, MsgParam w, MsgParam l) -> MsgParam {
        handledOn = std::this_thread::get_id();
        return msg == MSG_SAVE_RECORD ? w + l : -1;
    });
    std::atomic<bool> done{false};
    MsgParam answer = 0;
    std::thread worker([&] {
        answer = SendMessage(&receiver, MSG_SAVE_RECORD, 1, 41);
        done = true;
    });
    pumpUntil(done);
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_EQ(SendMessage(&receiver, MSG_URL_NOTICE, 0, 0), -1); // same thread: runs at once
}

TEST(Messages, SenderIsReleasedWhenTheReceiverGoesAway) {
    app();
    auto receiver = std::make_unique<MessageReceiver>([](int, MsgParam, MsgParam) -> MsgParam { return 7; });
    MessageReceiver* target = receiver.get();
    std::atomic<bool> sending{false};
    std::atomic<bool> done{false};
    MsgParam answer = -1;
    std::thread worker([&] {
        sending = true;
        answer = SendMessage(target, MSG_CHECK_KNOWN, 0, 0);
        done = true;
    });
    // Let the message be queued, then destroy the receiver before the loop ever runs.
    while (!sending)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    receiver.reset();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(answer, 0);
}

TEST(Messages, PostedMessagesArriveInOrder) {
    app();
    std::vector<MsgParam> seen;
    MessageReceiver receiver([&](int, MsgParam w, MsgParam l) -> MsgParam {
        seen.push_back(w * 100 + l);
        return 0;
    });
    std::thread poster([&] {
        for (int i = 0; i <= 4; ++i)
            PostMessage(&receiver, MSG_PROCESS, 2, i * 25);
    });
    poster.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, (std::vector<MsgParam>{200, 225, 250, 275, 300}));
}
