// Connects the Send operation to the keystroke synthesiser.
#include "engine/SendDriver.h"

#include "engine/SendOperation.h"
#include "keys/KeySequenceTyper.h"

namespace quorvane::engine {

class SendDriver::Impl final : public KeySequenceSink {
public:
    Impl(EngineHost &host, EngineServices services)
        : m_keys(services.layout, services.injector), m_operation(host, services, *this) {}

    bool SendKeySequence(std::u16string_view keys) override { return m_keys.SendKeySequence(keys); }

    keys::KeySequenceTyper m_keys;
    SendOperation m_operation;
};

SendDriver::SendDriver(EngineHost &host, EngineServices services) : m_impl(std::make_unique<Impl>(host, services)) {}

SendDriver::~SendDriver() = default;

SendResult SendDriver::Send() { return m_impl->m_operation.Send(); }

bool SendDriver::running() const { return m_impl->m_operation.running(); }

void SendDriver::abandon() { m_impl->m_operation.abandon(); }

} // namespace quorvane::engine
