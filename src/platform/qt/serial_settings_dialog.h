#pragma once
// The serial port settings dialog of "QXマスコン（設定）(&P)": port (any name, or one of the ports the
// system lists), baud rate, data bits, stop bits, parity and flow control; OK or Cancel. Nothing is
// stored: the window keeps what was chosen until it closes.
#include <QDialog>
#include <QStringList>

#include "core/ports/serial_link.h"

class QComboBox;

namespace kestrel {

class SerialSettingsDialog final : public QDialog {
  Q_OBJECT

 public:
  // `ports`: the names offered in the port list (the system's serial ports).
  SerialSettingsDialog(const SerialPortSettings& settings, const QStringList& ports,
                       QWidget* parent = nullptr);

  // The settings as the dialog shows them; a baud rate that is not a positive number keeps the one
  // the dialog started with.
  SerialPortSettings settings() const;

  QComboBox* portBox() const { return port_; }
  QComboBox* baudBox() const { return baud_; }
  QComboBox* dataBitsBox() const { return dataBits_; }
  QComboBox* stopBitsBox() const { return stopBits_; }
  QComboBox* parityBox() const { return parity_; }
  QComboBox* flowControlBox() const { return flow_; }

  // Setup1Click: the dialog over `parent`; on OK `settings` takes the new values. True on OK.
  static bool edit(QWidget* parent, SerialPortSettings& settings);
  // The serial ports the system lists, by their names for opening.
  static QStringList systemPorts();

 private:
  SerialPortSettings initial_;
  QComboBox* port_;
  QComboBox* baud_;
  QComboBox* dataBits_;
  QComboBox* stopBits_;
  QComboBox* parity_;
  QComboBox* flow_;
};

}  // namespace kestrel
