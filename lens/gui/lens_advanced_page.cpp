#include "lens/gui/lens_advanced_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/event_log.h"
#include "lens/gui/focus_button.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/named_control.h"

namespace vesk {

namespace {

// A read-only grid of lens bytes: byte numbers in the first row, values in the second,
// sized to show every cell without scrolling.
QTableWidget* ByteGrid(const char* name, int columns) {
  auto* grid = Named<QTableWidget>(name, 2, columns);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setFocusPolicy(Qt::NoFocus);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->horizontalHeader()->setDefaultSectionSize(46);
  grid->verticalHeader()->setDefaultSectionSize(22);
  const int frame = 2 * grid->frameWidth();
  grid->setFixedSize(46 * columns + frame, 22 * 2 + frame);
  return grid;
}

template <std::size_t N>
void FillGrid(QTableWidget& grid, const LensByteGrid<N>& bytes) {
  for (std::size_t k = 0; k < N; ++k) {
    const int column = static_cast<int>(k);
    grid.setItem(0, column, new QTableWidgetItem(QString::fromStdString(bytes.byteNumbers[k])));
    grid.setItem(1, column, new QTableWidgetItem(QString::fromStdString(bytes.byteValues[k])));
  }
}

void SetText(QLabel& label, const std::string& text) {
  label.setText(QString::fromStdString(text));
}

}  // namespace

LensAdvancedPage::LensAdvancedPage(Station& station, QWidget* parent)
    : QWidget(parent), station_(station) {
  setObjectName(QStringLiteral("TabSheetIrisFocusAdv"));

  LabelFirmwareAllowedv220 =
      BoldLabel("LabelFirmwareAllowedv220", QStringLiteral("Allowed firmware version >= v2.20"));
  LabelSayPresAF2 = Named<QLabel>("LabelSayPresAF2", QStringLiteral("CANON EF is there :"));
  LabelPresAF2 = BoldLabel("LabelPresAF2", QStringLiteral("?"));
  LabelPresAF2->setWordWrap(true);  // the lens's wrong answer makes a long line
  LabelFrame80 = Named<QLabel>("LabelFrame80", QStringLiteral("0x80 FRAME ORDER"));
  StringGridAF80 = ByteGrid("StringGridAF80", 9);

  GroupBoxRepAF = Named<QGroupBox>("GroupBoxRepAF", QStringLiteral("AF answers"));
  LabelFrameB0 = Named<QLabel>(
      "LabelFrameB0", QStringLiteral("0xB0 FRAME ORDER -> gets min and max allowed apertures "));
  StringGridEF_Iris = ByteGrid("StringGridEF_Iris", 3);
  LabelSayLensName = Named<QLabel>("LabelSayLensName", QStringLiteral("Lens Name : "));
  Label_lens_Name = BoldLabel("Label_lens_Name", QStringLiteral("?"));
  LabelSayLensID = Named<QLabel>("LabelSayLensID", QStringLiteral("Lens ID : "));
  Label_Lens_ID = BoldLabel("Label_Lens_ID", QStringLiteral("?"));
  LabelSayAFmax = Named<QLabel>("LabelSayAFmax", QStringLiteral("Iris Max :"));
  LabelAFmax = BoldLabel("LabelAFmax", QStringLiteral("?"));
  LabelSayAFmin = Named<QLabel>("LabelSayAFmin", QStringLiteral("Iris Min :"));
  LabelAFmin = BoldLabel("LabelAFmin", QStringLiteral("?"));
  LabelSayFocale = Named<QLabel>("LabelSayFocale", QStringLiteral("Lens Focal (mm) : "));
  LabelFocale = Named<QLabel>("LabelFocale", QStringLiteral("?"));  // bold once a lens is read
  LabelSayd1 = Named<QLabel>("LabelSayd1", QStringLiteral("Distance d1: "));
  Labeld1 = BoldLabel("Labeld1", QStringLiteral("?"));
  LabelSayd2 = Named<QLabel>("LabelSayd2", QStringLiteral("Distance d2 : "));
  Labeld2 = BoldLabel("Labeld2", QStringLiteral("?"));
  LabelAperture = Named<QLabel>("LabelAperture", QStringLiteral("F/ ratio"));
  ComboBoxAperture = Named<QComboBox>("ComboBoxAperture");
  ComboBoxAperture->setEditable(true);
  ComboBoxAperture->setEditText(QStringLiteral("????"));
  ComboBoxAperture->setMinimumWidth(110);
  LabelAperture->setBuddy(ComboBoxAperture);
  // Only the operator's choice and typing send orders, not the list being refilled.
  ComboBoxAperture->setInsertPolicy(QComboBox::NoInsert);
  connect(ComboBoxAperture, &QComboBox::activated, this,
          [this](int index) { Guarded(this, [this, index] { ComboBoxApertureChange(index); }); });
  connect(ComboBoxAperture->lineEdit(), &QLineEdit::textEdited, this,
          [this] { Guarded(this, [this] { ComboBoxApertureChange(-1); }); });

  auto* details = new QGridLayout;
  const std::pair<QLabel*, QLabel*> rows[] = {{LabelSayLensName, Label_lens_Name},
                                              {LabelSayLensID, Label_Lens_ID},
                                              {LabelSayAFmax, LabelAFmax},
                                              {LabelSayAFmin, LabelAFmin},
                                              {LabelSayFocale, LabelFocale},
                                              {LabelSayd1, Labeld1},
                                              {LabelSayd2, Labeld2}};
  int row = 0;
  for (auto [caption, value] : rows) {
    details->addWidget(caption, row, 0);
    details->addWidget(value, row, 1);
    ++row;
  }
  details->addWidget(LabelAperture, row, 0);
  details->addWidget(ComboBoxAperture, row, 1, Qt::AlignLeft);
  details->setColumnStretch(1, 1);

  // Its half of the page stays reserved while it is hidden, so the focuser keeps its place.
  QSizePolicy answersPolicy = GroupBoxRepAF->sizePolicy();
  answersPolicy.setRetainSizeWhenHidden(true);
  GroupBoxRepAF->setSizePolicy(answersPolicy);
  auto* answers = new QVBoxLayout(GroupBoxRepAF);
  answers->addWidget(LabelFrameB0);
  answers->addWidget(StringGridEF_Iris);
  answers->addSpacing(6);
  answers->addLayout(details);

  GroupBoxFOC_CANONv220 = Named<QGroupBox>("GroupBoxFOC_CANONv220", QStringLiteral("FOCUSER"));
  Button2 = FocusButton("Button2", QStringLiteral("Focus Max"), 1);
  Button4 = FocusButton("Button4", QStringLiteral("Focus Min"), 2);
  Button6 = FocusButton("Button6", QStringLiteral("Focus Offset (rel.)"), 789);
  EditFocusOffsetv220 = Named<QLineEdit>("EditFocusOffsetv220", QStringLiteral("0"));
  Button7 = FocusButton("Button7", QStringLiteral("Focus Offset (abs.)"), 791);
  EditAbsFocus = Named<QLineEdit>("EditAbsFocus", QStringLiteral("0"));
  EditFocusOffsetv220->setFixedWidth(80);
  EditAbsFocus->setFixedWidth(80);
  for (QPushButton* button : {Button2, Button4, Button6, Button7}) {
    connect(button, &QPushButton::clicked, this,
            [this, button] { Guarded(this, [this, button] { ButtonFocusClick(*button); }); });
  }
  auto* focus = new QGridLayout(GroupBoxFOC_CANONv220);
  focus->addWidget(Button2, 0, 0);
  focus->addWidget(Button4, 1, 0);
  focus->setColumnMinimumWidth(1, 16);
  focus->addWidget(Button6, 0, 2);
  focus->addWidget(EditFocusOffsetv220, 0, 3);
  focus->addWidget(Button7, 1, 2);
  focus->addWidget(EditAbsFocus, 1, 3);
  focus->setColumnStretch(4, 1);

  auto* presence = new QHBoxLayout;
  presence->addWidget(LabelSayPresAF2);
  presence->addWidget(LabelPresAF2, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(LabelFirmwareAllowedv220);
  left->addSpacing(4);
  left->addLayout(presence);
  left->addSpacing(6);
  left->addWidget(LabelFrame80);
  left->addWidget(StringGridAF80);
  left->addSpacing(6);
  left->addWidget(GroupBoxFOC_CANONv220);
  left->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(GroupBoxRepAF, 1, Qt::AlignTop);
}

QString LensAdvancedPage::caption() {
  return QStringLiteral("IRIS / FOCUS CANON control");
}

void LensAdvancedPage::ShowLens(const LensPoll& poll) {
  const LensAdvancedTexts& texts = *poll.texts.advanced;
  SetText(*LabelPresAF2, texts.LabelPresAF2);
  FillGrid(*StringGridAF80, texts.StringGridAF80);
  // Without a lens the details disappear with their group and keep what they showed.
  GroupBoxRepAF->setVisible(texts.details.has_value());
  if (!texts.details) {
    return;
  }
  const LensDetailTexts& details = *texts.details;
  FillGrid(*StringGridEF_Iris, details.StringGridEF_Iris);
  SetText(*Label_lens_Name, details.Label_lens_Name);
  SetText(*Label_Lens_ID, details.Label_Lens_ID);
  SetText(*LabelAFmax, details.range.LabelAFmax);
  SetText(*LabelAFmin, details.range.LabelAFmin);
  SetText(*LabelFocale, details.LabelFocale);
  QFont bold = LabelFocale->font();
  bold.setBold(true);
  LabelFocale->setFont(bold);
  SetText(*Labeld1, details.Labeld1);
  SetText(*Labeld2, details.Labeld2);

  if (poll.listReplaced) {
    ComboBoxAperture->clear();
    for (const TCanonDiaphInf& aperture : station_.Lens().FACanonDiaphInf) {
      ComboBoxAperture->addItem(QString::fromStdString(aperture.FrendlyName));
    }
    ComboBoxAperture->setCurrentIndex(0);
  }
  // Enabled again as soon as the lens's f-numbers are read right, rebuilt or not: after a
  // lens with unknown codes, the lens before it comes back with the same identifier and
  // length, and its list, still in place, would otherwise stay out of reach.
  ComboBoxAperture->setEnabled(!poll.lensError);
  if (poll.lensError) {
    if (poll.showLensError) {
      ShowMessage(this, QString::fromStdString(*poll.lensError));
    }
    WriteLog(*poll.lensError);
  }
}

void LensAdvancedPage::ShowAbsolFocus() {
  EditAbsFocus->setText(QString::number(station_.Lens().AbsolFocus));
}

void LensAdvancedPage::ComboBoxApertureChange(int index) {
  station_.SetListAperture(index);
}

void LensAdvancedPage::ButtonFocusClick(const QPushButton& sender) {
  const int tag = sender.property("tag").toInt();
  const QLineEdit* field = tag == kTagFocusAbsolute ? EditAbsFocus : EditFocusOffsetv220;
  const std::string text = field->text().toStdString();
  // Planned and counted before it is sent: a refused number changes nothing.
  const FocusOrder order = FocusOrderOfTag(tag, text, station_.Lens().AbsolFocus);
  if (tag == kTagFocusAbsolute) {
    EditFocusOffsetv220->setText(QString::number(order.offset));
  }
  station_.SendFocusOrder(order);
  ShowAbsolFocus();
}

}  // namespace vesk
