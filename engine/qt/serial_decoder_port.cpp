#include "engine/qt/serial_decoder_port.h"

#include "engine/port_resolution.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace kesto {

SerialDecoderPort::SerialDecoderPort(std::filesystem::path programFolder,
                                     std::filesystem::path devFolder)
    : m_programFolder(std::move(programFolder)), m_devFolder(std::move(devFolder)) {
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] {
        if (m_inputArrived)
            m_inputArrived();
    });
}

void SerialDecoderPort::SetInputArrived(std::function<void()> arrived) {
    m_inputArrived = std::move(arrived);
}

SerialDecoderPort::~SerialDecoderPort() {
    Close();
}

bool SerialDecoderPort::Open(int portNumber) {
    Close();
    m_lastError.clear();
    m_device.clear();
    m_inUseElsewhere = false;
    auto device = ResolvePortDevice(portNumber, m_programFolder, m_devFolder);
    if (!device) {
        m_lastError = DescribePort(portNumber, m_programFolder, m_devFolder);
        return false;
    }
    if (!OpenDevice(*device))
        return false;
    m_reopenPath = StableDevicePath(*device, m_devFolder);
    return true;
}

bool SerialDecoderPort::Reopen(int portNumber) {
    if (m_reopenPath.empty())
        return Open(portNumber);
    Close();
    m_lastError.clear();
    m_inUseElsewhere = false;
    std::error_code error;
    if (!std::filesystem::exists(m_reopenPath, error)) {
        m_device = m_reopenPath;
        m_lastError = m_reopenPath.string() + " is not there";
        return false;
    }
    return OpenDevice(m_reopenPath);
}

bool SerialDecoderPort::OpenDevice(const std::filesystem::path& device) {
    m_device = device;
    // The lock is the device's own (an advisory lock on the device node), so
    // it holds whatever path another timer reached it by. Taken on a
    // descriptor of its own before QSerialPort opens, so a timer that finds
    // the device taken leaves its line as it was.
    m_lockFd = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_lockFd < 0 || ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        m_inUseElsewhere = code == EWOULDBLOCK || code == EBUSY;
        m_lastError =
            m_device.string() + (m_inUseElsewhere ? std::string(" is in use by another program")
                                                  : ": " + std::string(std::strerror(code)));
        Close();
        return false;
    }
    m_port.setPortName(QString::fromStdString(m_device.string()));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        NoteError("cannot open " + m_device.string());
        Close();
        return false;
    }
    // Between races nobody reads: what waits stays within what the decoder's
    // own port would hold, and the start of a race drops it anyway.
    m_port.setReadBufferSize(DecoderPortBufferSize);
    // A closed port leaves RTS wherever it was; the race raises it at its start.
    m_port.setRequestToSend(false);
    m_port.clearError();
    return true;
}

void SerialDecoderPort::Close() {
    // QSerialPort::close() always releases the descriptor and the lock file,
    // even when the far end is gone and restoring the line settings fails.
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_linkLost = false;
    if (m_lockFd >= 0) {
        ::close(m_lockFd); // and the lock with it
        m_lockFd = -1;
    }
}

bool SerialDecoderPort::IsOpen() const {
    return m_port.isOpen();
}

void SerialDecoderPort::PullFromDevice() {
    // While the event loop watches the device it reads what arrives into the
    // port's buffer and says so (SetInputArrived): an empty buffer means
    // nothing came, and a tick need not ask the device. It still does every
    // so often, so a hang-up that raises no error is never missed for long.
    if (m_inputArrived && m_port.error() == QSerialPort::NoError &&
        ++m_looksLeftToTheEventLoop < LooksBetweenOwnLooks)
        return;
    m_looksLeftToTheEventLoop = 0;
    // One look at the descriptor first: on most ticks nothing is waiting,
    // nothing has hung up and nothing has failed, and then there is nothing to do.
    const int fd = static_cast<int>(m_port.handle());
    pollfd probe{fd, POLLIN, 0};
    if (fd >= 0 && ::poll(&probe, 1, 0) == 0 && m_port.error() == QSerialPort::NoError)
        return;
    // Moves whatever the device holds into QSerialPort's buffer now; without
    // this the data would wait for the next pass of the event loop. A zero
    // wait that finds nothing reports a timeout, which is no fault here.
    if (!m_port.waitForReadyRead(0) && m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
    if (m_port.error() != QSerialPort::NoError) {
        if (m_port.error() == QSerialPort::ReadError ||
            m_port.error() == QSerialPort::ResourceError)
            m_linkLost = true;
        NoteError("read from " + m_device.string());
        m_port.clearError();
    }
    if (!m_linkLost && HungUp())
        m_linkLost = true;
}

bool SerialDecoderPort::HungUp() const {
    // A device whose far end has gone can read as "nothing waiting" without
    // any error, while the descriptor reports a hang-up.
    const int fd = static_cast<int>(m_port.handle());
    if (fd < 0)
        return false;
    pollfd probe{fd, POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

int SerialDecoderPort::BytesAvailable() {
    if (!m_port.isOpen())
        return 0;
    // What the event loop already read is enough for this look; the device is
    // asked (and watched for a hang-up) once that is taken.
    if (m_port.bytesAvailable() == 0)
        PullFromDevice();
    qint64 waiting = m_port.bytesAvailable();
    return waiting > 0x7fffffff ? 0x7fffffff : static_cast<int>(waiting);
}

std::string SerialDecoderPort::Read(int maxBytes) {
    if (!m_port.isOpen() || maxBytes <= 0)
        return {};
    if (m_port.bytesAvailable() == 0)
        PullFromDevice();
    // Into a buffer kept from read to read: a tick's few bytes cost no
    // allocation. Asking for more than is buffered also lets QSerialPort
    // watch the device again if a full buffer had made it stop.
    m_readChunk.resize(static_cast<size_t>(maxBytes));
    const qint64 got = m_port.read(m_readChunk.data(), maxBytes);
    return got > 0 ? std::string(m_readChunk.data(), static_cast<size_t>(got)) : std::string();
}

bool SerialDecoderPort::WaitForInput(int milliseconds) {
    if (!m_port.isOpen())
        return false;
    if (m_port.bytesAvailable() > 0)
        return true;
    if (!m_port.waitForReadyRead(milliseconds) && m_port.error() == QSerialPort::TimeoutError)
        m_port.clearError();
    return m_port.bytesAvailable() > 0;
}

bool SerialDecoderPort::SetRts(bool raised) {
    if (!m_port.isOpen())
        return false;
    if (m_port.setRequestToSend(raised))
        return true;
    // Pseudo-terminals and some adapters have no modem lines: the race goes on.
    NoteError(std::string(raised ? "raise" : "drop") + " RTS on " + m_device.string());
    m_port.clearError();
    return false;
}

void SerialDecoderPort::NoteError(const std::string& what) {
    m_lastError = what + ": " + m_port.errorString().toStdString();
}

} // namespace kesto
