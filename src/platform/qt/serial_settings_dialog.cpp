#include "platform/qt/serial_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QSerialPortInfo>
#include <algorithm>

namespace kestrel {

namespace {

QComboBox* choices(const QStringList& items, int current, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItems(items);
  box->setCurrentIndex(current);
  return box;
}

}  // namespace

SerialSettingsDialog::SerialSettingsDialog(const SerialPortSettings& s, const QStringList& ports,
                                           QWidget* parent)
    : QDialog(parent), initial_(s) {
  setWindowTitle(QStringLiteral("QXマスコン（設定）"));
  port_ = new QComboBox(this);
  port_->setEditable(true);
  port_->addItems(ports);
  port_->setEditText(QString::fromStdString(s.portName));

  baud_ = new QComboBox(this);
  baud_->setEditable(true);
  for (qint32 rate : QSerialPortInfo::standardBaudRates()) baud_->addItem(QString::number(rate));
  baud_->setValidator(new QIntValidator(1, 4000000, baud_));
  baud_->setEditText(QString::number(s.baudRate));

  dataBits_ = choices({"5", "6", "7", "8"}, std::clamp(s.dataBits, 5, 8) - 5, this);
  stopBits_ = choices({"1", "1.5", "2"}, static_cast<int>(s.stopBits), this);
  parity_ = choices({"None", "Even", "Odd", "Mark", "Space"}, static_cast<int>(s.parity), this);
  flow_ =
      choices({"None", "Hardware (RTS/CTS)", "Software (XON/XOFF)"}, static_cast<int>(s.flowControl), this);

  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("Port"), port_);
  form->addRow(QStringLiteral("Baud rate"), baud_);
  form->addRow(QStringLiteral("Data bits"), dataBits_);
  form->addRow(QStringLiteral("Stop bits"), stopBits_);
  form->addRow(QStringLiteral("Parity"), parity_);
  form->addRow(QStringLiteral("Flow control"), flow_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

SerialPortSettings SerialSettingsDialog::settings() const {
  SerialPortSettings s = initial_;
  s.portName = port_->currentText().trimmed().toStdString();
  bool ok = false;
  const int baud = baud_->currentText().toInt(&ok);
  if (ok && baud > 0) s.baudRate = baud;
  s.dataBits = dataBits_->currentIndex() + 5;
  s.stopBits = static_cast<SerialPortSettings::StopBits>(stopBits_->currentIndex());
  s.parity = static_cast<SerialPortSettings::Parity>(parity_->currentIndex());
  s.flowControl = static_cast<SerialPortSettings::FlowControl>(flow_->currentIndex());
  return s;
}

QStringList SerialSettingsDialog::systemPorts() {
  QStringList names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.systemLocation();
  return names;
}

bool SerialSettingsDialog::edit(QWidget* parent, SerialPortSettings& settings) {
  SerialSettingsDialog dialog(settings, systemPorts(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings = dialog.settings();
  return true;
}

}  // namespace kestrel
