#pragma once

#include <QApplication>

namespace vesk {

// The one default error handler: an exception that leaves an event handler ends here and
// is shown in an error box; the program carries on.
class VeskApplication : public QApplication {
 public:
  VeskApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vesk
