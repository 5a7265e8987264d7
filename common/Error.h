#pragma once

#include <stdexcept>
#include <string>

namespace kavo {

// The one exception type of the core: where an operation "raises", it throws this with a message.
class KavoError : public std::runtime_error {
public:
    explicit KavoError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kavo
