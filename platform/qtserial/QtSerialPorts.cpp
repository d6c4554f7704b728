// Opening, listing and using serial ports through QSerialPort; who holds a busy port comes from the lock files.
#include "platform/qtserial/QtSerialPorts.h"

#include "platform/qtserial/LockFiles.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStringList>

#include <unistd.h>

namespace quorvane::platform {

namespace {

std::string text(const QString &string) { return string.toStdString(); }

class QtSerialLine : public SerialLine {
public:
    explicit QtSerialLine(std::unique_ptr<QSerialPort> port) : m_port(std::move(port)) {}

    bool write(std::string_view bytes, std::chrono::milliseconds timeout) override {
        if (m_port->write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
            return false;
        }
        // flush() hands the bytes to the driver straight away; a wait for room is needed only when it is full.
        m_port->flush();
        while (m_port->bytesToWrite() > 0) {
            if (!m_port->waitForBytesWritten(static_cast<int>(timeout.count()))) {
                return false;
            }
        }
        return true;
    }

    bool read(std::string &into, std::chrono::milliseconds timeout) override {
        if (m_port->bytesAvailable() == 0 && !m_port->waitForReadyRead(static_cast<int>(timeout.count()))) {
            if (m_port->error() != QSerialPort::TimeoutError) {
                return false;
            }
            m_port->clearError();
            return true;
        }
        const QByteArray bytes = m_port->readAll();
        into.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return m_port->error() == QSerialPort::NoError;
    }

    std::string error() override { return text(m_port->errorString()); }

private:
    std::unique_ptr<QSerialPort> m_port;
};

std::string describe(const QSerialPortInfo &info) {
    QStringList parts;
    for (const QString &part : {info.description(), info.manufacturer()}) {
        if (!part.isEmpty() && !parts.contains(part)) {
            parts << part;
        }
    }
    if (!info.serialNumber().isEmpty()) {
        parts << QStringLiteral("serial number ") + info.serialNumber();
    }
    return text(parts.join(QStringLiteral(", ")));
}

std::string openFailure(const std::string &name, const QSerialPort &port) {
    const std::string start = "The serial port \"" + name + "\" ";
    if (port.error() == QSerialPort::DeviceNotFoundError) {
        return start + "does not exist.";
    }
    if (port.error() == QSerialPort::PermissionError) {
        if (const auto holder = serialPortHolder(name)) {
            return start + "is in use by " + *holder + ". Nothing was sent.";
        }
        if (access(name.c_str(), R_OK | W_OK) != 0) {
            return start + "cannot be opened: no permission (on Debian, members of the group \"dialout\" have it).";
        }
        return start + "is in use by another program. Nothing was sent.";
    }
    return start + "cannot be opened: " + text(port.errorString()) + ".";
}

} // namespace

std::vector<SerialPortInfo> QtSerialPorts::list() {
    std::vector<SerialPortInfo> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        ports.push_back({text(info.systemLocation()), describe(info)});
    }
    return ports;
}

std::unique_ptr<SerialLine> QtSerialPorts::open(std::string_view name, unsigned baud, std::string &error) {
    const std::string path(name);
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(path));
    if (!port->open(QIODevice::ReadWrite)) {
        error = openFailure(path, *port);
        return nullptr;
    }
    const bool set = port->setBaudRate(static_cast<qint32>(baud)) && port->setDataBits(QSerialPort::Data8) &&
                     port->setParity(QSerialPort::NoParity) && port->setStopBits(QSerialPort::OneStop) &&
                     port->setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        error = "The serial port \"" + path + "\" does not take " + std::to_string(baud) +
                " baud, 8 data bits, no parity, 1 stop bit: " + text(port->errorString()) + ".";
        return nullptr;
    }
    return std::make_unique<QtSerialLine>(std::move(port));
}

} // namespace quorvane::platform
