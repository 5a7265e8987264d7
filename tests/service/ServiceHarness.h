#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace kavo::test {

// The Qt application of the service tests; the test thread is its main thread.
void EnsureServiceApplication();
// Runs the event loop until `done` or the timeout; returns done().
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A configuration document (UTF-8 here, GB18030 on the wire) enciphered by our own encoder.
std::string EncodedDocument(const std::string& xml);
// A document whose "version" holds one "qiye" element.
std::string QiyeDocument(const std::string& attributes, const std::string& url);

} // namespace kavo::test
