// The two CSV buttons.
#include <array>
#include <memory>

#include "app/main_window.h"
#include "history/csv_export.h"
#include "history/gui/progress_window.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "station/station.h"
#include "widgets/gui/message_box.h"

namespace vesk {

void TMAINForm::ButtonExportDataClick() {
  const auto name = SaveDialog(this);
  if (!name) {
    return;
  }
  if (const auto failure = ExportCsv(station().Datas(), name->toStdString())) {
    ShowError(this, QString::fromStdString(*failure));
  }
}

void TMAINForm::ButtonBin2CSVClick() {
  const auto source = OpenDialog(this, QStringLiteral("*.bin"));
  if (!source) {
    return;
  }
  TTinfosRec converted;
  {
    // The progress window lives as long as the load, whichever way it ends; a load failure
    // goes on to the default error handler and nothing is exported.
    std::unique_ptr<TFormProgress> progress;
    LoadHistory(source->toStdString(), kAllHistoryTags, converted,
                [this, &progress](const std::string& text) {
                  if (!progress) {
                    progress = std::make_unique<TFormProgress>(this);
                  }
                  progress->ShowProgress(QString::fromStdString(text));
                });
  }
  if (converted.empty()) {
    return;
  }
  const auto target = SaveDialog(this);
  if (!target) {
    return;
  }
  if (const auto failure = ExportCsv(converted, target->toStdString())) {
    ShowError(this, QString::fromStdString(*failure));
  }
}

}  // namespace vesk
