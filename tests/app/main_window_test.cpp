#include <QtTest>

#include "app/main_window.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void titleIsTheSystemsOwn() {
    vesk::TMAINForm window;
    window.show();
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
