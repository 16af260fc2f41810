#pragma once

#include <QWidget>

#include "lens/iris_orders.h"
#include "lens/lens_texts.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vesk {

class Station;

// The "BRISA IRIS / FOCUS Control" page, for the older lens firmware: lens presence and raw
// lens bytes, the iris (direct steps or fixed apertures) and the focuser. Its orders go
// through the station; their errors are left to the default error handler.
class LensBasicPage : public QWidget {
  Q_OBJECT

 public:
  explicit LensBasicPage(Station& station, QWidget* parent = nullptr);

  static QString caption();

  // The lens step of a poll with the older lens firmware.
  void ShowLens(const LensBasicTexts& texts);

  // The direct iris order with the step count; LabelRetIris shows the reply's two bytes.
  void CheckBoxCloseIrisClick();
  // What the fixed-aperture radio buttons share; each calls it when it becomes selected, so
  // clicking the selected one sends nothing.
  void FixedApertureClick(const FixedAperture& aperture);
  // ButtonFocus, ButtonFocusMin and Button3, told apart by their tag.
  void ButtonFocusClick(const QPushButton& sender);

 Q_SIGNALS:
  // A focus order went out: AbsolFocus may have moved.
  void focusSent();

 private Q_SLOTS:
  void RadioButton_f2_8Click();
  void RadioButton_f5_6Click();
  void RadioButton_f8Click();
  void RadioButton_f11Click();
  void RadioButton_f16Click();

 private:
  Station& station_;

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
