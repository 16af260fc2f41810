// vesk-screenshots: the monitor connected to the simulated board, one PNG per page, and one
// more per chart page with "Show the whole window", for reviewers. Run it under a display
// (scripts/screenshots.sh uses Xvfb).
#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>
#include <QTimer>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "plots/external_ip.h"
#include "plots/gui/custom_plot.h"
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

// The posting images, drawn from the charts on screen, copied beside the pictures.
bool SavePostingImages(vesk::TMAINForm& window, const std::filesystem::path& output,
                       const std::string& preset) {
  try {
    // The captions of a station without Internet, as the settings ask.
    for (const auto& file : window.SavePostingImages(vesk::kNoInternet)) {
      const auto copy = output / (preset + "-" + file.filename().string());
      std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
      std::cout << "wrote " << copy.string() << "\n";
    }
    return true;
  } catch (const std::exception& e) {
    std::cout << "could not write the posting images: " << e.what() << "\n";
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  std::vector<std::string> args(argv + 1, argv + argc);
  // A history file shown on the charts, as "DatasVesk.bin" in each program folder.
  std::filesystem::path history;
  if (args.size() >= 2 && args[0] == "--history") {
    history = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) {
    std::cerr << "Usage: vesk-screenshots [--history FILE] OUTPUT_FOLDER [PRESET[:no-lens] ...]\n";
    return 2;
  }
  const QString output = QString::fromStdString(args[0]);
  std::vector<std::string> presets(args.begin() + 1, args.end());
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
      // No look-up of the public address from here: the images say so at once.
      ini << "[Misc]\r\nAutostart=0\r\nIpEchoUrl=http://127.0.0.1:9/\r\n";
    }
    if (!history.empty()) {
      std::filesystem::copy_file(history, folder / "DatasVesk.bin");
    }
    vesk::sim::BoardSetup setup;
    setup.identity = {preset->major, preset->minor, preset->type, preset->feature, "127512"};
    setup.lens.present = !lensAbsent;
    vesk::sim::InProcessBoard board(setup);
    board.linkAsPort(folder.path(), 3);

    vesk::TMAINForm window(folder.path());
    window.show();
    Settle(300);
    const std::string label = lensAbsent ? name + "-no-lens" : name;
    const QString prefix = output + "/" + QString::fromStdString(label);
    ok &= Save(window, prefix + "-00-compact.png");
    window.findChild<QCheckBox*>("CheckBoxAutoStart")->setChecked(true);
    window.ButtonConnectClick();
    for (int i = 0; i < 3; ++i) {
      window.PollDevice(true);
    }
    auto* pages = window.findChild<QTabWidget*>("PageControl");
    const auto savePages = [&](bool chartsOnly, const QString& suffix) {
      for (int tab = 0; tab < pages->count(); ++tab) {
        QWidget* page = pages->widget(tab);
        if (!pages->isTabVisible(tab) ||
            (chartsOnly && page->findChildren<QCustomPlot*>().isEmpty())) {
          continue;
        }
        pages->setCurrentIndex(tab);
        Settle(200);
        ok &= Save(window, prefix + QString("-%1-%2%3.png")
                                        .arg(tab + 1, 2, 10, QChar('0'))
                                        .arg(page->objectName())
                                        .arg(suffix));
        if (tab == 0 && !chartsOnly) {
          ok &= SavePostingImages(window, output.toStdString(), label);
        }
      }
    };
    savePages(false, QString());
    // The chart pages again with "Show the whole window".
    window.findChild<QCheckBox*>("CheckBoxWholeWindow")->click();
    savePages(true, "-whole");
    window.close();
  }
  return ok ? 0 : 1;
}
