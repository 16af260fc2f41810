// vesk-screenshots: the monitor connected to the simulated board, one PNG per page, for
// reviewers. Run it under a display (scripts/screenshots.sh uses Xvfb).
#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTimer>

#include <clocale>
#include <fstream>
#include <iostream>

#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "sim/in_process_board.h"
#include "sim/model_presets.h"
#include "tests/support/temp_folder.h"
#include "widgets/gui/message_box.h"

namespace {

void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool Save(QWidget& window, const QString& path) {
  const bool saved = window.grab().save(path);
  std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << "\n";
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  if (argc < 2) {
    std::cerr << "Usage: vesk-screenshots OUTPUT_FOLDER [PRESET[:no-lens] ...]\n";
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  std::vector<std::string> presets(argv + 2, argv + argc);
  if (presets.empty()) {
    presets = {"astel9-weather", "tarn-cooled",      "brisa-3m",
               "brisa",          "brisa-3m:no-lens", "brisa:no-lens"};
  }
  vesk::SetDialogAnswers({[](vesk::MessageKind, const QString& text) {
                            std::cout << "message: " << text.toStdString() << "\n";
                            return true;
                          },
                          {},
                          {}});
  bool ok = true;
  for (std::string name : presets) {
    // "brisa:no-lens": the lens pages as they look when no lens answers.
    const std::string noLens = ":no-lens";
    const bool lensAbsent = name.ends_with(noLens);
    if (lensAbsent) {
      name.erase(name.size() - noLens.size());
    }
    const vesk::sim::ModelPreset* preset = vesk::sim::FindPreset(name);
    if (preset == nullptr) {
      std::cerr << "unknown preset " << name << "\n";
      return 2;
    }
    vesk::test::TempFolder folder;
    vesk::InitLog(folder.path());
    {
      // Compact first: connect by hand after the picture.
      std::ofstream ini(folder / "VeskLevel.ini");
      ini << "[Misc]\r\nAutostart=0\r\n";
    }
    vesk::sim::BoardSetup setup;
    setup.identity = {preset->major, preset->minor, preset->type, preset->feature, "127512"};
    setup.lens.present = !lensAbsent;
    vesk::sim::InProcessBoard board(setup);
    board.linkAsPort(folder.path(), 3);

    vesk::TMAINForm window(folder.path());
    window.show();
    Settle(300);
    const QString prefix =
        output + "/" + QString::fromStdString(lensAbsent ? name + "-no-lens" : name);
    ok &= Save(window, prefix + "-00-compact.png");
    window.findChild<QCheckBox*>("CheckBoxAutoStart")->setChecked(true);
    window.ButtonConnectClick();
    for (int i = 0; i < 3; ++i) {
      window.PollDevice(true);
    }
    auto* pages = window.findChild<QTabWidget*>("PageControl");
    for (int tab = 0; tab < pages->count(); ++tab) {
      if (!pages->isTabVisible(tab)) {
        continue;
      }
      pages->setCurrentIndex(tab);
      Settle(200);
      ok &= Save(window, prefix + QString("-%1-%2.png")
                                      .arg(tab + 1, 2, 10, QChar('0'))
                                      .arg(pages->widget(tab)->objectName()));
    }
    window.close();
  }
  return ok ? 0 : 1;
}
