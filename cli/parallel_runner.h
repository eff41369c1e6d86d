#pragma once

// Runs independent jobs on several threads and hands their results back in input order.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velmora::cli {

// Each thread calls makeWorker once and then runs its worker on the indices it takes, so a
// worker may own state (a document, an options copy) that no other thread touches.
template <typename Result>
using WorkerFactory = std::function<std::function<Result(std::size_t)>()>;

// Runs job 0 .. count-1 on `threads` threads (at least one; on the calling thread when one).
// deliver(index, result) runs on the calling thread, in index order, as soon as a result and all
// before it are ready; when it returns false, no further job starts and nothing more is
// delivered. finished(count) runs there whenever more jobs have finished. An exception thrown by
// a job is thrown again from its delivery.
template <typename Result>
void RunInOrder(std::size_t count, unsigned threads, const WorkerFactory<Result>& makeWorker,
                const std::function<bool(std::size_t, Result&)>& deliver,
                const std::function<void(std::size_t)>& finished) {
    if (threads <= 1 || count <= 1) {
        const auto worker = makeWorker();
        for (std::size_t i = 0; i < count; ++i) {
            Result result = worker(i);
            finished(i + 1);
            if (!deliver(i, result)) {
                return;
            }
        }
        return;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<Result>> results(count);
    std::vector<std::exception_ptr> failures(count);
    std::size_t done = 0;
    std::atomic<std::size_t> next{0};

    const auto run = [&] {
        const auto worker = makeWorker();
        for (std::size_t i = next++; i < count; i = next++) {
            std::optional<Result> result;
            std::exception_ptr failure;
            try {
                result = worker(i);
            } catch (...) {
                failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                results[i] = std::move(result);
                failures[i] = failure;
                ++done;
            }
            changed.notify_one();
        }
    };
    std::vector<std::jthread> pool;
    const std::size_t poolSize = threads < count ? threads : count;
    for (std::size_t t = 0; t < poolSize; ++t) {
        pool.emplace_back(run);
    }

    std::size_t reported = 0;
    for (std::size_t delivered = 0; delivered < count;) {
        std::unique_lock lock(mutex);
        const auto ready = [&] { return results[delivered] || failures[delivered]; };
        changed.wait(lock, [&] { return ready() || done != reported; });
        reported = done;
        std::optional<Result> result;
        std::exception_ptr failure;
        if (ready()) {
            result = std::move(results[delivered]);
            results[delivered].reset();
            failure = failures[delivered];
        }
        lock.unlock();
        finished(reported);
        if (failure) {
            std::rethrow_exception(failure);
        }
        if (result) {
            if (!deliver(delivered, *result)) {
                // The pool's threads end with the jobs they hold.
                next = count;
                return;
            }
            ++delivered;
        }
    }
}

}  // namespace velmora::cli
