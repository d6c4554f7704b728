// Connects the Send operation to the keystroke synthesiser.
#include "engine/SendDriver.h"

#include "engine/SendOperation.h"
#include "keys/KeySequenceTyper.h"

namespace quorvane::engine {

namespace {

// Every pass of the event loop inside a transfer first lets the injector release what it holds between
// back-to-back blocks (on X11 the server grab): our own window and every other program run during the waits.
class PausingPump final : public platform::EventPump {
public:
    PausingPump(platform::EventPump &pump, platform::KeyInjector &injector) : m_pump(pump), m_injector(injector) {}

    void processPendingEvents() override {
        m_injector.pause();
        m_pump.processPendingEvents();
    }
    void waitForEvents() override {
        m_injector.pause();
        m_pump.waitForEvents();
    }
    void processEventsUntil(platform::Clock::TimePoint deadline) override {
        m_injector.pause();
        m_pump.processEventsUntil(deadline);
    }

private:
    platform::EventPump &m_pump;
    platform::KeyInjector &m_injector;
};

EngineServices withPump(EngineServices services, platform::EventPump &pump) {
    return {services.desktop,    services.layout, services.injector, pump,
            services.delayTimer, services.clock,  services.dialogs};
}

} // namespace

class SendDriver::Impl final : public KeySequenceSink {
public:
    Impl(EngineHost &host, EngineServices services)
        : m_pump(services.pump, services.injector), m_keys(services.layout, services.injector),
          m_operation(host, withPump(services, m_pump), *this) {}

    bool SendKeySequence(std::u16string_view keys) override { return m_keys.SendKeySequence(keys); }

    PausingPump m_pump;
    keys::KeySequenceTyper m_keys;
    SendOperation m_operation;
};

SendDriver::SendDriver(EngineHost &host, EngineServices services) : m_impl(std::make_unique<Impl>(host, services)) {}

SendDriver::~SendDriver() = default;

SendResult SendDriver::Send() { return m_impl->m_operation.Send(); }

bool SendDriver::running() const { return m_impl->m_operation.running(); }

void SendDriver::resume() { m_impl->m_operation.resume(); }

void SendDriver::abandon() { m_impl->m_operation.abandon(); }

} // namespace quorvane::engine
