#pragma once

#include "engine/MessageSink.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// Keeps every posted message; a test thread can wait until enough have arrived.
class RecordingSink : public MessageSink {
public:
    void post(Message message) override {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(std::move(message));
        m_arrived.notify_all();
    }

    std::vector<Message> messages() const {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

    // Waits until at least `count` messages have arrived; false on time-out.
    bool waitForCount(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, timeout, [&] { return m_messages.size() >= count; });
    }

    // Waits until a posted status text equals `text`; false on time-out.
    bool waitForStatus(const std::string& text,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30)) const {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, timeout, [&] {
            for (const Message& message : m_messages) {
                const auto* status = std::get_if<WmAppStatusText>(&message);
                if (status != nullptr && status->text == text) {
                    return true;
                }
            }
            return false;
        });
    }

    // How many posted status texts equal `text`.
    int countStatus(const std::string& text) const {
        int count = 0;
        for (const WmAppStatusText& status : all<WmAppStatusText>()) {
            count += status.text == text ? 1 : 0;
        }
        return count;
    }

    template <typename Kind>
    std::vector<Kind> all() const {
        std::vector<Kind> found;
        for (const Message& message : messages()) {
            if (const auto* kind = std::get_if<Kind>(&message)) {
                found.push_back(*kind);
            }
        }
        return found;
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<Message> m_messages;
};
