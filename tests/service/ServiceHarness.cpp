#include "ServiceHarness.h"

#include "common/Encoding.h"
#include "service/ConfigCipher.h"

#include <QCoreApplication>

#include <thread>

namespace kavo::test {

void EnsureServiceApplication() {
    static int argc = 1;
    static char name[] = "test_service";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    EnsureServiceApplication();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string EncodedDocument(const std::string& xml) {
    // Without a byte-order mark the client reads the client code page.
    return EncryptConfigStream(ToGb18030(xml), kConfigKey);
}

std::string QiyeDocument(const std::string& attributes, const std::string& url) {
    return "<?xml version=\"1.0\"?><config><version><qiye " + attributes + ">" + url +
           "</qiye></version></config>";
}

} // namespace kavo::test
