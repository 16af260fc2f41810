#pragma once

// The window tests are one program: each Qt Test class registers itself here, and CTest runs
// the program once for each class, naming it (`vesk_window_tests ChartPageTest`), so every
// class still runs in a process and an application of its own. One program compiles Qt's
// headers once for a batch of classes, where a program per class compiled them for each.

#include <QObject>

#include <memory>

namespace vesk::test {

enum class WindowTestApplication {
  kQt,    // a QApplication, as QTEST_MAIN makes it
  kVesk,  // the monitor's own, so that a failure in a handler meets its default error handler
};

using WindowTestFactory = std::unique_ptr<QObject> (*)();

bool RegisterWindowTest(const char* name, WindowTestFactory make,
                        WindowTestApplication application);

}  // namespace vesk::test

#define VESK_WINDOW_TEST_REGISTER(Class, application)                                             \
  [[maybe_unused]] static const bool vesk_window_test_##Class = ::vesk::test::RegisterWindowTest( \
      #Class, []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); }, application)

// In place of QTEST_MAIN(Class).
#define VESK_WINDOW_TEST(Class) \
  VESK_WINDOW_TEST_REGISTER(Class, ::vesk::test::WindowTestApplication::kQt)
// The class runs under the monitor's own application.
#define VESK_WINDOW_TEST_IN_VESK_APPLICATION(Class) \
  VESK_WINDOW_TEST_REGISTER(Class, ::vesk::test::WindowTestApplication::kVesk)
