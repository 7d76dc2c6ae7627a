#include "platform/qt/qt_serial_link.h"

namespace kestrel {

namespace {

QSerialPort::Parity parityOf(SerialPortSettings::Parity p) {
  switch (p) {
    case SerialPortSettings::Parity::Even:
      return QSerialPort::EvenParity;
    case SerialPortSettings::Parity::Odd:
      return QSerialPort::OddParity;
    case SerialPortSettings::Parity::Mark:
      return QSerialPort::MarkParity;
    case SerialPortSettings::Parity::Space:
      return QSerialPort::SpaceParity;
    case SerialPortSettings::Parity::None:
      break;
  }
  return QSerialPort::NoParity;
}

QSerialPort::StopBits stopBitsOf(SerialPortSettings::StopBits s) {
  switch (s) {
    case SerialPortSettings::StopBits::OneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case SerialPortSettings::StopBits::Two:
      return QSerialPort::TwoStop;
    case SerialPortSettings::StopBits::One:
      break;
  }
  return QSerialPort::OneStop;
}

QSerialPort::FlowControl flowControlOf(SerialPortSettings::FlowControl f) {
  switch (f) {
    case SerialPortSettings::FlowControl::Hardware:
      return QSerialPort::HardwareControl;
    case SerialPortSettings::FlowControl::Software:
      return QSerialPort::SoftwareControl;
    case SerialPortSettings::FlowControl::None:
      break;
  }
  return QSerialPort::NoFlowControl;
}

}  // namespace

QtSerialLink::QtSerialLink() {
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
    if (receive_) receive_(static_cast<int>(port_.bytesAvailable()));
  });
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError e) { errorOccurred(e); });
}

QtSerialLink::~QtSerialLink() {
  QObject::disconnect(&port_, nullptr, nullptr, nullptr);
  if (port_.isOpen()) port_.close();
}

std::string QtSerialLink::defaultPortName() {
#ifdef Q_OS_WIN
  return "COM1";
#else
  return "/dev/ttyS0";
#endif
}

bool QtSerialLink::open(const SerialPortSettings& s) {
  errorText_.clear();
  port_.setPortName(QString::fromStdString(s.portName));
  port_.setBaudRate(s.baudRate);
  port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits));
  port_.setParity(parityOf(s.parity));
  port_.setStopBits(stopBitsOf(s.stopBits));
  port_.setFlowControl(flowControlOf(s.flowControl));
  if (!port_.open(QIODevice::ReadOnly)) {
    errorText_ = port_.errorString().toStdString();
    port_.clearError();
    return false;
  }
  // The lines a controller could take for handshaking stay inactive. A port without modem lines
  // (a pseudo-terminal) refuses this, which does not matter.
  port_.setDataTerminalReady(false);
  if (s.flowControl != SerialPortSettings::FlowControl::Hardware) port_.setRequestToSend(false);
  port_.clearError();
  return true;
}

void QtSerialLink::close() {
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

std::string QtSerialLink::readAll() {
  const QByteArray bytes = port_.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void QtSerialLink::errorOccurred(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
  if (!port_.isOpen()) return;
  port_.close();
  port_.clearError();
  if (lost_) lost_();
}

}  // namespace kestrel
