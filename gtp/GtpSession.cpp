#include "gtp/GtpSession.h"

#include "gtp/GtpCommand.h"
#include "gtp/GtpEngine.h"

#include <thread>

GtpSession::GtpSession(GtpEngine& engine, int input, std::ostream& out, int output)
    : m_engine(engine), m_reader(input), m_out(out), m_output(output) {}

void GtpSession::run() {
    // The live analysis writes between the replies, on this thread.
    m_engine.setLiveOutput([this](const std::string& text) { m_out << text << std::flush; });
    std::thread reader(&GtpSession::readLines, this);
    for (;;) {
        const Item item = pop();
        if (item.kind == Item::Kind::End) {
            break;
        }
        if (item.kind == Item::Kind::LineTooLong) {
            m_out << GtpCommand::reply("", false, "line too long") << std::flush;
            continue;
        }
        const std::optional<GtpCommand> command = GtpCommand::parse(item.text);
        if (!command) {
            continue; // empty lines and comments get no reply
        }
        m_out << m_engine.respond(*command, item.number) << std::flush;
        if (m_engine.quitRequested() || !m_out) {
            break;
        }
    }
    m_reader.cancel();
    reader.join();
    m_engine.setLiveOutput(nullptr);
}

void GtpSession::readLines() {
    std::uint64_t number = 0;
    std::string line;
    for (;;) {
        const LineReader::Result result = m_reader.next(line);
        if (result == LineReader::Result::End) {
            // Whatever was asked is answered in full, unless nobody reads the answers any more.
            push(Item{Item::Kind::End, {}, number});
            m_engine.inputEnded();
            if (m_output >= 0 && m_reader.waitForHangUp(m_output)) {
                m_engine.interruptThrough(number);
            }
            return;
        }
        if (result == LineReader::Result::Line && GtpCommand::isInterrupt(line)) {
            m_engine.interruptThrough(number);
            continue;
        }
        ++number;
        push(Item{result == LineReader::Result::Line ? Item::Kind::Line : Item::Kind::LineTooLong,
                  std::move(line), number});
    }
}

void GtpSession::push(Item item) {
    std::lock_guard lock(m_lock);
    m_queue.push_back(std::move(item));
    m_arrived.notify_one();
}

GtpSession::Item GtpSession::pop() {
    std::unique_lock lock(m_lock);
    m_arrived.wait(lock, [this] { return !m_queue.empty(); });
    Item item = std::move(m_queue.front());
    m_queue.pop_front();
    return item;
}
