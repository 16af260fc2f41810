#include "lens/gui/lens_basic_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "lens/gui/focus_button.h"
#include "lens/iris_orders.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"

namespace vesk {

LensBasicPage::LensBasicPage(Station& station, QWidget* parent)
    : QWidget(parent), station_(station) {
  setObjectName(QStringLiteral("TabSheetIrisFocus"));

  LabelFirmwareAllowed = BoldLabel(
      "LabelFirmwareAllowed", QStringLiteral("Firmware allowed starting from v2.18 .. v2.19 max"));

  LabelSayEF_Presence = Named<QLabel>("LabelSayEF_Presence", QStringLiteral("Is CANON EF ? :"));
  Label_EF_Presence = BoldLabel("Label_EF_Presence", QStringLiteral("?"));
  LabelSayID_Obj = Named<QLabel>("LabelSayID_Obj", QStringLiteral("Lens information :"));
  LabelID_Obj = Named<QLabel>("LabelID_Obj");
  LabelSayCanonApertureMinMax =
      Named<QLabel>("LabelSayCanonApertureMinMax", QStringLiteral("Min Max aperture  :"));
  LabelCanonApertureMinMax = Named<QLabel>("LabelCanonApertureMinMax");
  for (QLabel* bytes : {LabelID_Obj, LabelCanonApertureMinMax}) {
    bytes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }

  Label_NONE_IRIS = BoldLabel("Label_NONE_IRIS", QStringLiteral("NO IRIS DETECTED !"));
  Label_NONE_IRIS->setStyleSheet(QStringLiteral("color: red;"));
  Label_NONE_IRIS->hide();  // nothing is known of the lens before the first poll

  GroupBox_IRIS_Canon = Named<QGroupBox>("GroupBox_IRIS_Canon", QStringLiteral("IRIS"));
  CheckBoxCloseIris = Named<QCheckBox>("CheckBoxCloseIris", QStringLiteral("Close Iris"));
  LabelStepDiaph = Named<QLabel>("LabelStepDiaph", QStringLiteral("Encoders steps"));
  SpinEditStepDiaph = Named<QSpinBox>("SpinEditStepDiaph");
  SpinEditStepDiaph->setRange(0, 255);
  SpinEditStepDiaph->setValue(0);
  SpinEditStepDiaph->setFixedWidth(70);
  LabelStepDiaph->setBuddy(SpinEditStepDiaph);
  LabelRetIris = Named<QLabel>("LabelRetIris", QStringLiteral("Feedback ?"));
  RadioButton_f2_8 = Named<QRadioButton>("RadioButton_f2_8", QStringLiteral("f2.8"));
  RadioButton_f5_6 = Named<QRadioButton>("RadioButton_f5_6", QStringLiteral("f5.6"));
  RadioButton_f8 = Named<QRadioButton>("RadioButton_f8", QStringLiteral("f8"));
  RadioButton_f11 = Named<QRadioButton>("RadioButton_f11", QStringLiteral("f11"));
  RadioButton_f16 = Named<QRadioButton>("RadioButton_f16", QStringLiteral("f16"));

  auto* direct = new QHBoxLayout;
  direct->addWidget(CheckBoxCloseIris);
  direct->addSpacing(16);
  direct->addWidget(LabelStepDiaph);
  direct->addWidget(SpinEditStepDiaph);
  direct->addSpacing(16);
  direct->addWidget(LabelRetIris);
  direct->addStretch(1);
  auto* apertures = new QHBoxLayout;
  using Handler = void (LensBasicPage::*)();
  for (const auto& choice :
       {std::pair<QRadioButton*, Handler>{RadioButton_f2_8, &LensBasicPage::RadioButton_f2_8Click},
        {RadioButton_f5_6, &LensBasicPage::RadioButton_f5_6Click},
        {RadioButton_f8, &LensBasicPage::RadioButton_f8Click},
        {RadioButton_f11, &LensBasicPage::RadioButton_f11Click},
        {RadioButton_f16, &LensBasicPage::RadioButton_f16Click}}) {
    QRadioButton* button = choice.first;
    const Handler handler = choice.second;  // a copy: a structured binding cannot be captured
    apertures->addWidget(button);
    connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
      if (checked) {
        Guarded(this, [this, handler] { (this->*handler)(); });
      }
    });
  }
  apertures->addStretch(1);
  auto* iris = new QVBoxLayout(GroupBox_IRIS_Canon);
  iris->addLayout(direct);
  iris->addLayout(apertures);

  GroupBoxFOC_CANON = Named<QGroupBox>("GroupBoxFOC_CANON", QStringLiteral("FOCUSER"));
  ButtonFocus = FocusButton("ButtonFocus", QStringLiteral("Focus Max"), 1);
  ButtonFocusMin = FocusButton("ButtonFocusMin", QStringLiteral("Focus Min"), 2);
  Button3 = FocusButton("Button3", QStringLiteral("Focus Offset"), 3);
  EditFocusOffset = Named<QLineEdit>("EditFocusOffset", QStringLiteral("0"));
  EditFocusOffset->setFixedWidth(80);
  for (QPushButton* button : {ButtonFocus, ButtonFocusMin, Button3}) {
    connect(button, &QPushButton::clicked, this,
            [this, button] { Guarded(this, [this, button] { ButtonFocusClick(*button); }); });
  }
  connect(CheckBoxCloseIris, &QCheckBox::clicked, this,
          [this] { Guarded(this, [this] { CheckBoxCloseIrisClick(); }); });
  auto* focus = new QHBoxLayout(GroupBoxFOC_CANON);
  focus->addWidget(ButtonFocus);
  focus->addWidget(ButtonFocusMin);
  focus->addSpacing(24);
  focus->addWidget(Button3);
  focus->addWidget(EditFocusOffset);
  focus->addStretch(1);

  auto* lens = new QGridLayout;
  lens->addWidget(LabelSayEF_Presence, 0, 0);
  lens->addWidget(Label_EF_Presence, 0, 1);
  lens->addWidget(LabelSayID_Obj, 1, 0);
  lens->addWidget(LabelID_Obj, 1, 1);
  lens->addWidget(LabelSayCanonApertureMinMax, 2, 0);
  lens->addWidget(LabelCanonApertureMinMax, 2, 1);
  lens->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelFirmwareAllowed);
  layout->addSpacing(4);
  layout->addLayout(lens);
  layout->addWidget(Label_NONE_IRIS);
  layout->addWidget(GroupBox_IRIS_Canon);
  layout->addWidget(GroupBoxFOC_CANON);
  layout->addStretch(1);
}

QString LensBasicPage::caption() {
  return QStringLiteral("BRISA IRIS / FOCUS Control");
}

void LensBasicPage::ShowLens(const LensBasicTexts& texts) {
  Label_EF_Presence->setText(QString::fromStdString(texts.Label_EF_Presence));
  GroupBox_IRIS_Canon->setVisible(texts.lensPresent);
  GroupBoxFOC_CANON->setVisible(texts.lensPresent);
  Label_NONE_IRIS->setVisible(!texts.lensPresent);
  LabelID_Obj->setText(QString::fromStdString(texts.LabelID_Obj));
  LabelCanonApertureMinMax->setText(QString::fromStdString(texts.LabelCanonApertureMinMax));
}

void LensBasicPage::CheckBoxCloseIrisClick() {
  const auto reply = station_.CloseIris(CheckBoxCloseIris->isChecked(),
                                        static_cast<std::uint8_t>(SpinEditStepDiaph->value()));
  LabelRetIris->setText(QString::fromStdString(IrisFeedbackText(reply)));
}

void LensBasicPage::FixedApertureClick(const FixedAperture& aperture) {
  station_.SetCanonDiaph(aperture.steps);
}

void LensBasicPage::RadioButton_f2_8Click() {
  FixedApertureClick(FixedApertureOf("f2.8"));
}

void LensBasicPage::RadioButton_f5_6Click() {
  FixedApertureClick(FixedApertureOf("f5.6"));
}

void LensBasicPage::RadioButton_f8Click() {
  FixedApertureClick(FixedApertureOf("f8"));
}

void LensBasicPage::RadioButton_f11Click() {
  FixedApertureClick(FixedApertureOf("f11"));
}

void LensBasicPage::RadioButton_f16Click() {
  FixedApertureClick(FixedApertureOf("f16"));
}

void LensBasicPage::ButtonFocusClick(const QPushButton& sender) {
  const FocusOrder order =
      FocusOrderOfTag(sender.property("tag").toInt(), EditFocusOffset->text().toStdString(),
                      station_.Lens().AbsolFocus);
  station_.SendFocusOrder(order);
  Q_EMIT focusSent();
}

}  // namespace vesk
