#include "app/connection_bar.h"

#include <QHBoxLayout>
#include <QLineEdit>

#include <exception>

#include "common/event_log.h"
#include "settings/settings_file.h"

namespace vesk {
namespace {

// A list that is made again each time it opens: an adapter plugged in since shows up.
class PortList : public QComboBox {
 public:
  explicit PortList(std::function<void()> refresh, QWidget* parent)
      : QComboBox(parent), refresh_(std::move(refresh)) {}

  void showPopup() override {
    refresh_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> refresh_;
};

// "ttyUSB0  FTDI FT232R USB UART": the device's own name and what the adapter tells.
QString PortCaption(const SerialPortInfo& port) {
  QString caption = QString::fromStdString(std::filesystem::path(port.device).filename().string());
  const std::string product = port.product.empty() ? port.manufacturer : port.product;
  if (!product.empty()) {
    caption += QStringLiteral("  ") + QString::fromStdString(product);
  }
  return caption;
}

}  // namespace

ConnectionBar::ConnectionBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanelCOM"));
  setFixedHeight(kHeight);

  ButtonConnect = new QPushButton(QStringLiteral("- CONNECT -"), this);
  ButtonConnect->setObjectName(QStringLiteral("ButtonConnect"));
  ButtonConnect->setMinimumWidth(130);
  CheckBoxAutoStart = new QCheckBox(this);
  CheckBoxAutoStart->setObjectName(QStringLiteral("CheckBoxAutoStart"));
  CheckBoxAutoStart->setToolTip(QStringLiteral("Auto connect au démarrage"));
  LabelCom = new QLabel(QStringLiteral("COM port"), this);
  LabelCom->setObjectName(QStringLiteral("LabelCom"));
  SpinEditCOMPort = new QSpinBox(this);
  SpinEditCOMPort->setObjectName(QStringLiteral("SpinEditCOMPort"));
  SpinEditCOMPort->setRange(1, 255);
  SpinEditCOMPort->setValue(3);
  SpinEditCOMPort->setMinimumWidth(60);
  listPorts_ = [] { return ListSerialPorts(); };
  ComboComDevice = new PortList([this] { RefreshPorts(); }, this);
  ComboComDevice->setObjectName(QStringLiteral("ComboComDevice"));
  ComboComDevice->setEditable(true);
  ComboComDevice->setInsertPolicy(QComboBox::NoInsert);
  ComboComDevice->setMinimumWidth(220);
  ComboComDevice->setToolTip(
      QStringLiteral("The serial device to open in place of the port number: a detected port, "
                     "or any path typed and confirmed with Enter"));
  ComboComDevice->lineEdit()->setPlaceholderText(QStringLiteral("port number"));
  ButtonBin2CSV = new QPushButton(QStringLiteral("Load Data.bin convert to CSV "), this);
  ButtonBin2CSV->setObjectName(QStringLiteral("ButtonBin2CSV"));
  ButtonExportData = new QPushButton(QStringLiteral("Export to CSV Data.bin"), this);
  ButtonExportData->setObjectName(QStringLiteral("ButtonExportData"));

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 4, 8, 4);
  row->setSpacing(8);
  row->addWidget(ButtonConnect);
  row->addWidget(CheckBoxAutoStart);
  row->addSpacing(8);
  row->addWidget(LabelCom);
  row->addWidget(SpinEditCOMPort);
  row->addWidget(ComboComDevice);
  row->addStretch(1);
  row->addWidget(ButtonBin2CSV);
  row->addWidget(ButtonExportData);

  connect(ButtonConnect, &QPushButton::clicked, this, &ConnectionBar::connectClicked);
  connect(ButtonExportData, &QPushButton::clicked, this, &ConnectionBar::exportDataClicked);
  connect(ButtonBin2CSV, &QPushButton::clicked, this, &ConnectionBar::bin2CsvClicked);
  connect(SpinEditCOMPort, &QSpinBox::valueChanged, this, &ConnectionBar::SpinEditCOMPortChange);
  connect(ComboComDevice, &QComboBox::activated, this,
          [this](int index) { ChooseDevice(ComboComDevice->itemData(index).toString()); });
  connect(ComboComDevice->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    // A typed path, or a caption chosen and left as it is.
    const QString typed = ComboComDevice->currentText().trimmed();
    const int index = ComboComDevice->findText(typed);
    ChooseDevice(index >= 0 ? ComboComDevice->itemData(index).toString() : typed);
  });
  RefreshPorts();
}

void ConnectionBar::UseSettings(const std::filesystem::path& folder) {
  settingsFolder_ = folder;
  device_ = QString::fromStdString(TSettingsFile(folder).ReadComDevice());
  RefreshPorts();
}

void ConnectionBar::SetPortLister(std::function<std::vector<SerialPortInfo>()> lister) {
  listPorts_ = std::move(lister);
  RefreshPorts();
}

void ConnectionBar::RefreshPorts() {
  ComboComDevice->clear();
  ComboComDevice->addItem(QStringLiteral("port number"), QString());
  for (const auto& port : listPorts_()) {
    // The by-id name stays the same whichever adapter was plugged in first.
    const QString path =
        QString::fromStdString(port.byId.empty() ? port.device : port.byId.front());
    ComboComDevice->addItem(PortCaption(port), path);
    ComboComDevice->setItemData(ComboComDevice->count() - 1, path, Qt::ToolTipRole);
  }
  if (!device_.isEmpty() && ComboComDevice->findData(device_) < 0) {
    ComboComDevice->addItem(device_, device_);
  }
  ShowDevice();
}

void ConnectionBar::ShowDevice() {
  ComboComDevice->setCurrentIndex(ComboComDevice->findData(device_));
  if (device_.isEmpty()) {
    ComboComDevice->setEditText(QString());
  }
  SpinEditCOMPort->setEnabled(!connected_ && device_.isEmpty());
  ComboComDevice->setEnabled(!connected_);
}

void ConnectionBar::ChooseDevice(const QString& device) {
  if (device == device_) {
    ShowDevice();
    return;
  }
  device_ = device;
  if (!settingsFolder_.empty()) {
    try {
      TSettingsFile(settingsFolder_).WriteComDevice(device_.toStdString());
    } catch (const std::exception& e) {
      // The choice holds for this run; the log tells why it will not be kept.
      WriteLog(e.what());
    }
  }
  RefreshPorts();
  Q_EMIT deviceChosen(device_);
}

void ConnectionBar::SpinEditCOMPortChange(int value) {
  ComNumG_ = value;
}

void ConnectionBar::ShowConnected(bool connected) {
  ButtonConnect->setText(connected ? QStringLiteral("- DISCONNECT -")
                                   : QStringLiteral("- CONNECT -"));
  connected_ = connected;
  ShowDevice();
}

void ConnectionBar::SetComNum(int comNum) {
  ComNumG_ = comNum;
  SpinEditCOMPort->setValue(comNum);
}

bool ConnectionBar::AutoStart() const {
  return CheckBoxAutoStart->isChecked();
}

void ConnectionBar::SetAutoStart(bool on) {
  CheckBoxAutoStart->setChecked(on);
}

}  // namespace vesk
