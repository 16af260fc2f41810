#include "app/session_events.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QSessionManager>

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vesk {
namespace {

#ifdef _WIN32
// The two window messages the main window answers, seen before Qt handles them; the message
// result is left to the default.
class WindowsSessionFilter final : public QAbstractNativeEventFilter {
 public:
  WindowsSessionFilter(std::function<void()> onLogOff, std::function<void(int)> onPower)
      : onLogOff_(std::move(onLogOff)), onPower_(std::move(onPower)) {}

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "windows_generic_MSG") {
      return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_QUERYENDSESSION) {
      onLogOff_();
    } else if (msg->message == WM_POWERBROADCAST) {
      onPower_(static_cast<int>(msg->wParam));
    }
    return false;
  }

 private:
  std::function<void()> onLogOff_;
  std::function<void(int)> onPower_;
};
#else
// The signal handler may only write a byte; the notifier turns it into a call on the main
// thread.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}
#endif

}  // namespace

SessionEvents::SessionEvents(std::function<void()> onLogOff, std::function<void(int)> onPower,
                             QObject* parent)
    : QObject(parent), onLogOff_(std::move(onLogOff)), onPower_(std::move(onPower)) {
#ifdef _WIN32
  windowsFilter_ = std::make_unique<WindowsSessionFilter>(onLogOff_, onPower_);
  QCoreApplication::instance()->installNativeEventFilter(windowsFilter_.get());
#else
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { onLogOff_(); });
  }
  watchSignals();
  watchSleep();
#endif
}

SessionEvents::~SessionEvents() {
#ifdef _WIN32
  QCoreApplication::instance()->removeNativeEventFilter(windowsFilter_.get());
#else
  if (signalNotifier_) {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    signalNotifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
  }
#endif
}

void SessionEvents::watchSignals() {
#ifndef _WIN32
  if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
    return;  // one watcher per process
  }
  signalNotifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  connect(signalNotifier_.get(), &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
    onLogOff_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
#endif
}

void SessionEvents::watchSleep() {
  // No system bus (a container, a test): no power notifications, nothing else changes.
  QDBusConnection bus = QDBusConnection::systemBus();
  if (bus.isConnected()) {
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(PrepareForSleep(bool)));
  }
}

void SessionEvents::PrepareForSleep(bool start) {
  onPower_(start ? kSuspend : kResume);
}

}  // namespace vesk
