#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vesk {

class Station;
struct LensPoll;

// The "IRIS / FOCUS CANON control" page, for the newer lens firmware: lens presence, the raw
// answers of the lens frames, the lens details with the aperture list, and the focuser. Its
// orders go through the station; their errors are left to the default error handler.
class LensAdvancedPage : public QWidget {
  Q_OBJECT

 public:
  explicit LensAdvancedPage(Station& station, QWidget* parent = nullptr);

  static QString caption();

  // The lens step of a poll with the newer lens firmware. The aperture list is refilled only
  // when the station rebuilt it, so the operator's choice stays; the first lens table error
  // of a connection is shown in a box, and every one is logged.
  void ShowLens(const LensPoll& poll);
  // EditAbsFocus shows the station's AbsolFocus.
  void ShowAbsolFocus();

  // An entry of the aperture list chosen (index), or text typed into the box (-1).
  void ComboBoxApertureChange(int index);
  // Button2, Button4, Button6 and Button7, told apart by their tag.
  void ButtonFocusClick(const QPushButton& sender);

 private:
  Station& station_;

  QLabel* LabelFirmwareAllowedv220;
  QLabel* LabelSayPresAF2;
  QLabel* LabelPresAF2;
  QLabel* LabelFrame80;
  QTableWidget* StringGridAF80;  // 9 columns, 2 rows

  // Hidden while no lens answers; the lens details and the aperture list go with it.
  QGroupBox* GroupBoxRepAF;
  QLabel* LabelFrameB0;
  QTableWidget* StringGridEF_Iris;  // 3 columns, 2 rows
  QLabel* LabelSayLensName;
  QLabel* Label_lens_Name;
  QLabel* LabelSayLensID;
  QLabel* Label_Lens_ID;
  QLabel* LabelSayAFmax;
  QLabel* LabelAFmax;
  QLabel* LabelSayAFmin;
  QLabel* LabelAFmin;
  QLabel* LabelSayFocale;
  QLabel* LabelFocale;
  QLabel* LabelSayd1;
  QLabel* Labeld1;
  QLabel* LabelSayd2;
  QLabel* Labeld2;
  QLabel* LabelAperture;
  QComboBox* ComboBoxAperture;

  // The focus buttons share one handler and are told apart by their "tag" property.
  QGroupBox* GroupBoxFOC_CANONv220;
  QPushButton* Button2;  // "Focus Max", tag 1
  QPushButton* Button4;  // "Focus Min", tag 2
  QPushButton* Button6;  // "Focus Offset (rel.)", tag 789
  QLineEdit* EditFocusOffsetv220;
  QPushButton* Button7;  // "Focus Offset (abs.)", tag 791
  QLineEdit* EditAbsFocus;
};

}  // namespace vesk
