#pragma once

#include <functional>
#include <mutex>

namespace kavo {

// Progress of long work, reported to whoever shows it. The window that shows it may close at any time:
// it clears the callback, and later reports go nowhere. Clear() waits for a report in progress on
// another thread, so nothing is called once it returns; the callback may clear itself.
class ProgressCallback {
public:
    using Function = std::function<void(int position, int maximum)>;

    ProgressCallback() = default;
    explicit ProgressCallback(Function function) : function_(std::move(function)) {}
    ProgressCallback(const ProgressCallback&) = delete;
    ProgressCallback& operator=(const ProgressCallback&) = delete;

    void Set(Function function) {
        std::lock_guard lock(mutex_);
        function_ = std::move(function);
    }
    void Clear() { Set(nullptr); }

    void Report(int position, int maximum) const {
        std::lock_guard lock(mutex_);
        if (!function_)
            return;
        // A copy, so a callback that clears itself does not destroy the function it is running.
        Function call = function_;
        call(position, maximum);
    }

private:
    mutable std::recursive_mutex mutex_;
    Function function_;
};

} // namespace kavo
