#pragma once

#include <QApplication>

namespace vesk {

// The last resort: each operator's handler runs in its own guard (widgets/gui/guarded.h),
// which shows its failure in an error box as the system does; an exception that still leaves
// an event handler ends here, is logged, and the program carries on.
class VeskApplication : public QApplication {
 public:
  VeskApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vesk
