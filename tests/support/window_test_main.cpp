#include "tests/support/window_test_main.h"

#include <QApplication>
#include <QtTest>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/vesk_application.h"

namespace vesk::test {
namespace {

struct WindowTest {
  WindowTestFactory make;
  WindowTestApplication application;
};

// Filled by the classes' static registrations, before main.
std::map<std::string, WindowTest>& Registry() {
  static std::map<std::string, WindowTest> registry;
  return registry;
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s CLASS [Qt Test options]\nclasses:\n", program);
  for (const auto& [name, test] : Registry()) {
    std::fprintf(stderr, "  %s\n", name.c_str());
  }
  return 2;
}

}  // namespace

bool RegisterWindowTest(const char* name, WindowTestFactory make,
                        WindowTestApplication application) {
  return Registry().emplace(name, WindowTest{make, application}).second;
}

}  // namespace vesk::test

// The class named first runs with the options after it, as its own QTEST_MAIN would.
int main(int argc, char** argv) {
  using namespace vesk::test;
  if (argc < 2) {
    return Usage(argv[0]);
  }
  const auto found = Registry().find(argv[1]);
  if (found == Registry().end()) {
    std::fprintf(stderr, "%s: no window test class %s\n", argv[0], argv[1]);
    return Usage(argv[0]);
  }
  std::vector<char*> args{argv[0]};
  args.insert(args.end(), argv + 2, argv + argc);
  args.push_back(nullptr);
  int count = argc - 1;

  std::unique_ptr<QApplication> app;
  if (found->second.application == WindowTestApplication::kVesk) {
    app = std::make_unique<vesk::VeskApplication>(count, args.data());
  } else {
    app = std::make_unique<QApplication>(count, args.data());
    app->setAttribute(Qt::AA_Use96Dpi, true);
  }
  const std::unique_ptr<QObject> test = found->second.make();
  return QTest::qExec(test.get(), count, args.data());
}
