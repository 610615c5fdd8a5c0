#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace tormel::cli {

// Items computed side by side on worker threads and their results applied one at a
// time, in the order the items were submitted, on the thread that submits them. At
// most `inFlight` items are submitted and not yet applied, so memory stays bounded
// whatever the number of items. With one worker or none, every item is computed and
// applied at once on the submitting thread, without any thread of its own.
//
// A failure (an exception of the computation or of the application) stops the
// pipeline: it is thrown from Submit or Finish when the results before it have been
// applied, and nothing after it is applied, exactly as when the items were computed
// one after the other.
template<typename Item, typename Result>
class OrderedPipeline
{
public:
    // Called on a worker thread; `worker` (from 0) says which, so that each can keep
    // state of its own.
    using Compute = std::function<Result(Item &item, std::size_t worker)>;
    // Called on the submitting thread, in the order of submission.
    using Apply = std::function<void(Result &&result)>;

    OrderedPipeline(std::size_t workers, std::size_t inFlight, Compute compute, Apply apply)
        : m_compute(std::move(compute))
        , m_apply(std::move(apply))
    {
        if (workers <= 1)
            return;
        m_slots.resize(std::max(inFlight, workers));
        m_threads.reserve(workers);
        for (std::size_t worker = 0; worker < workers; ++worker)
            m_threads.emplace_back([this, worker] { work(worker); });
    }

    OrderedPipeline(const OrderedPipeline &) = delete;
    OrderedPipeline &operator=(const OrderedPipeline &) = delete;

    // Whatever was not applied is dropped.
    ~OrderedPipeline() { stop(); }

    // Hands on the item; applies the results that are ready, waiting for the oldest
    // when `inFlight` items are pending.
    void Submit(Item item)
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        if (m_threads.empty()) {
            guard([&] { m_apply(m_compute(item, 0)); });
            return;
        }
        std::unique_lock lock(m_mutex);
        applyReady(lock, m_submitted - m_applied == m_slots.size() ? 1 : 0);
        Slot &slot = m_slots[m_submitted % m_slots.size()];
        slot.Input.emplace(std::move(item));
        ++m_submitted;
        lock.unlock();
        m_work.notify_one();
    }

    // Applies every result still pending, then ends the workers.
    void Finish()
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        if (m_threads.empty())
            return;
        std::unique_lock lock(m_mutex);
        applyReady(lock, m_submitted - m_applied);
        lock.unlock();
        stop();
    }

private:
    struct Slot
    {
        std::optional<Item> Input;
        std::optional<Result> Output;
        std::exception_ptr Error;
        bool Done = false;
    };

    template<typename Step>
    void guard(Step &&step)
    {
        try {
            step();
        } catch (...) {
            m_failure = std::current_exception();
            throw;
        }
    }

    // Applies the results ready at the front, in order, first waiting for `atLeast` of
    // them. Called with the lock held; the application itself runs without it.
    void applyReady(std::unique_lock<std::mutex> &lock, std::size_t atLeast)
    {
        while (m_applied < m_submitted) {
            Slot &slot = m_slots[m_applied % m_slots.size()];
            if (!slot.Done) {
                if (atLeast == 0)
                    return;
                m_ready.wait(lock, [&slot] { return slot.Done; });
            }
            std::optional<Result> result = std::move(slot.Output);
            const std::exception_ptr error = std::exchange(slot.Error, nullptr);
            slot.Output.reset();
            slot.Done = false;
            ++m_applied;
            if (atLeast > 0)
                --atLeast;
            lock.unlock();
            try {
                if (error)
                    std::rethrow_exception(error);
                m_apply(std::move(*result));
            } catch (...) {
                m_failure = std::current_exception();
                stop();
                throw;
            }
            lock.lock();
        }
    }

    void work(std::size_t worker)
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [this] { return m_stopping || m_taken < m_submitted; });
            if (m_stopping)
                return;
            const std::size_t index = m_taken++;
            Slot &slot = m_slots[index % m_slots.size()];
            Item item = std::move(*slot.Input);
            slot.Input.reset();
            lock.unlock();

            std::optional<Result> result;
            std::exception_ptr error;
            try {
                result.emplace(m_compute(item, worker));
            } catch (...) {
                error = std::current_exception();
            }

            lock.lock();
            slot.Output = std::move(result);
            slot.Error = error;
            slot.Done = true;
            if (index == m_applied)
                m_ready.notify_one();
        }
    }

    void stop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_work.notify_all();
        for (std::thread &thread : m_threads) {
            if (thread.joinable())
                thread.join();
        }
    }

    Compute m_compute;
    Apply m_apply;
    std::vector<Slot> m_slots; // a ring: item n in slot n % size
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_work;  // an item waits, or the workers are to stop
    std::condition_variable m_ready; // the oldest pending result is done
    std::size_t m_submitted = 0;     // items handed on
    std::size_t m_taken = 0;         // items a worker has started
    std::size_t m_applied = 0;       // results applied (or dropped after a failure)
    bool m_stopping = false;
    std::exception_ptr m_failure;
};

} // namespace tormel::cli
