#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

class QAbstractNativeEventFilter;

namespace vesk {

// The operating system's session end and power notifications, as the main window handles
// them. Windows: the log-off query (0x11) and the power broadcast (0x218) of the window's
// messages. Elsewhere: SIGTERM, SIGINT and the desktop session's end run the log-off path;
// logind's PrepareForSleep arrives as the power codes 4 (suspending) and 7 (resumed).
class SessionEvents : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSuspend = 4;
  static constexpr int kResume = 7;

  SessionEvents(std::function<void()> onLogOff, std::function<void(int code)> onPower,
                QObject* parent = nullptr);
  ~SessionEvents() override;

 private Q_SLOTS:
  void PrepareForSleep(bool start);

 private:
  void watchSignals();
  void watchSleep();

  std::function<void()> onLogOff_;
  std::function<void(int)> onPower_;
  std::unique_ptr<QSocketNotifier> signalNotifier_;
  std::unique_ptr<QAbstractNativeEventFilter> windowsFilter_;
};

}  // namespace vesk
