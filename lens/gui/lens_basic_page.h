#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vesk {

// The "BRISA IRIS / FOCUS Control" page, for the older lens firmware: lens presence and raw
// lens bytes, the iris (direct steps or fixed apertures) and the focuser.
class LensBasicPage : public QWidget {
  Q_OBJECT

 public:
  explicit LensBasicPage(QWidget* parent = nullptr);

  static QString caption();

 private:
  QLabel* LabelFirmwareAllowed;
  QLabel* LabelSayEF_Presence;
  QLabel* Label_EF_Presence;
  QLabel* LabelSayID_Obj;
  QLabel* LabelID_Obj;
  QLabel* LabelSayCanonApertureMinMax;
  QLabel* LabelCanonApertureMinMax;
  QLabel* Label_NONE_IRIS;

  QGroupBox* GroupBox_IRIS_Canon;
  QCheckBox* CheckBoxCloseIris;
  QLabel* LabelStepDiaph;
  QSpinBox* SpinEditStepDiaph;
  QLabel* LabelRetIris;
  QRadioButton* RadioButton_f2_8;
  QRadioButton* RadioButton_f5_6;
  QRadioButton* RadioButton_f8;
  QRadioButton* RadioButton_f11;
  QRadioButton* RadioButton_f16;

  // The focus buttons share one handler and are told apart by their "tag" property.
  QGroupBox* GroupBoxFOC_CANON;
  QPushButton* ButtonFocus;     // tag 1
  QPushButton* ButtonFocusMin;  // tag 2
  QPushButton* Button3;         // tag 3
  QLineEdit* EditFocusOffset;
};

}  // namespace vesk
