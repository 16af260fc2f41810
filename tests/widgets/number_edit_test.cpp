// The numeric edit field through real focus changes, offscreen. What the check finds is
// covered by the core tests; these cover when it runs and what follows it.
#include <QHBoxLayout>
#include <QtTest>

#include "tests/support/window_test_main.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;

namespace {

// Two fields side by side, as on the heating page, and a record of every message and exit.
class Form {
 public:
  Form() {
    auto* layout = new QHBoxLayout(&window);
    for (auto* field : {&a, &b}) {
      layout->addWidget(field);
      QObject::connect(field, &TNumberEdit::OnExit, &window,
                       [this, field] { events << field->objectName() + " exit"; });
    }
    a.setObjectName(QStringLiteral("A"));
    b.setObjectName(QStringLiteral("B"));
    SetDialogAnswers({[this](MessageKind, const QString& text) {
                        events << text;
                        return true;
                      },
                      {},
                      {}});
    window.show();
    QApplication::setActiveWindow(&window);
  }
  ~Form() { SetDialogAnswers({}); }

  // The window active and the focus in A.
  bool enterA() {
    if (!QTest::qWaitForWindowActive(&window)) {
      return false;
    }
    a.setFocus();
    return QTest::qWaitFor([this] { return a.hasFocus(); });
  }

  QWidget window;
  TNumberEdit a{TTypeValue::Float, 0, 100, QStringLiteral("0")};
  TNumberEdit b{TTypeValue::Float, 0, 100, QStringLiteral("0")};
  QStringList events;
};

}  // namespace

class NumberEditTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // A refused text is reported, stays as typed, the exit handler runs after the message and
  // the focus comes back. The field the focus passes through meanwhile (here holding a text
  // it would refuse too, as the heating fields do before a connection) is not checked, so the
  // two do not hand the focus to each other for ever.
  void refusedTextIsReportedThenExitRunsAndTheFocusComesBack() {
    // Declared first: the form's fields hand the focus on once more as they are destroyed.
    int focusChanges = 0;
    Form form;
    QVERIFY(form.enterA());
    form.a.setText(QStringLiteral("150"));
    form.b.setText(QStringLiteral("?"));
    QObject::connect(qApp, &QApplication::focusChanged, &form.window, [&] { ++focusChanges; });
    QTest::keyClick(&form.a, Qt::Key_Tab);
    QTRY_VERIFY(form.a.hasFocus());
    // Every hand-over is a posted call: once the posted calls are drained and no new one
    // appears, the focus has settled, and it settled in A (to B and back, nothing more).
    for (int round = 0; round < 10; ++round) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents();
    }
    QVERIFY(form.a.hasFocus());
    QCOMPARE(focusChanges, 2);
    QCOMPARE(form.a.text(), QStringLiteral("150"));
    QCOMPARE(form.b.text(), QStringLiteral("?"));
    QCOMPARE(form.events, (QStringList{"Figure too large compared to :100", "A exit"}));
  }

  // Another window taking the focus, or a popup menu opening, does not leave the field: the
  // text typed so far is neither checked nor reported.
  void otherWindowOrPopupDoesNotLeaveTheField() {
    Form form;
    QVERIFY(form.enterA());
    form.a.setText(QStringLiteral("2*("));
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
      QFocusEvent out(QEvent::FocusOut, reason);
      QApplication::sendEvent(&form.a, &out);
    }
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(form.a.text(), QStringLiteral("2*("));
    QCOMPARE(form.events, QStringList{});
  }
};

VESK_WINDOW_TEST(NumberEditTest);
#include "number_edit_test.moc"
