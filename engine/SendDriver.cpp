// Connects the Send operation to the keystroke synthesiser.
#include "engine/SendDriver.h"

#include "engine/PausingServices.h"
#include "engine/SendOperation.h"
#include "keys/KeySequenceTyper.h"

namespace quorvane::engine {

namespace {

EngineServices pausing(EngineServices services, platform::EventPump &pump, platform::Dialogs &dialogs) {
    return {services.desktop, services.layout, services.injector, pump, services.delayTimer, services.clock, dialogs};
}

} // namespace

class SendDriver::Impl final : public KeySequenceSink {
public:
    Impl(EngineHost &host, EngineServices services)
        : m_host(host, services.injector), m_pump(services.pump, m_host), m_dialogs(services.dialogs, m_host),
          m_keys(services.layout, services.injector), m_operation(m_host, pausing(services, m_pump, m_dialogs), *this) {
    }

    bool SendKeySequence(std::u16string_view keys) override { return m_keys.SendKeySequence(keys); }

    PausingHost m_host;
    PausingPump m_pump;
    PausingDialogs m_dialogs;
    keys::KeySequenceTyper m_keys;
    SendOperation m_operation;
};

SendDriver::SendDriver(EngineHost &host, EngineServices services) : m_impl(std::make_unique<Impl>(host, services)) {}

SendDriver::~SendDriver() = default;

// Nothing of a transfer is kept back once its Send has returned.
SendResult SendDriver::Send() {
    const SendResult result = m_impl->m_operation.Send();
    m_impl->m_host.letGo();
    return result;
}

bool SendDriver::running() const { return m_impl->m_operation.running(); }

void SendDriver::resume() { m_impl->m_operation.resume(); }

void SendDriver::abandon() { m_impl->m_operation.abandon(); }

} // namespace quorvane::engine
