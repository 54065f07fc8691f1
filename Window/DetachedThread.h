// Starting the install flow's worker threads: detached, never joined, and a failure to start
// one reported as a result instead of an exception.
#pragma once

#include <system_error>
#include <thread>
#include <utility>

// Runs |task| on a new detached thread; false when no thread could be started.
template <typename Task>
bool StartDetachedThread(Task&& task) {
    try {
        std::thread(std::forward<Task>(task)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
