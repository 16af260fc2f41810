#pragma once

#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "history/tinfos_rec.h"
#include "plots/gui/address_lookup.h"
#include "plots/gui/chart_widget.h"
#include "plots/gui/series_view.h"
#include "plots/series_builder.h"
#include "plots/time_window.h"
#include "plots/value_axis.h"

class QCustomPlot;
class QObject;

namespace vesk {

class ReplotWhenShown;
class TSettingsFile;

// The five charts of the main window as one: the time window they share, their value axes,
// the series built from the history and the chart images. The pages own the charts; the
// plot controls and the main window work through this.
class ChartSet {
 public:
  // In ChartKind order, each made by MakeChart.
  explicit ChartSet(const std::array<QCustomPlot*, kChartCount>& charts);
  ~ChartSet();
  ChartSet(const ChartSet&) = delete;
  ChartSet& operator=(const ChartSet&) = delete;

  QCustomPlot& chart(ChartKind kind) const { return *charts_[static_cast<std::size_t>(kind)]; }

  // Where the time window, the forced bounds and the plot options are written: the window's
  // settings file while it is open, none before the start opened it or once closed.
  void UseSettings(std::function<TSettingsFile*()> settings) { settings_ = std::move(settings); }
  TSettingsFile* settings() const { return settings_ ? settings_() : nullptr; }

  TTimeWindow& timeWindow() { return window_; }
  const TTimeWindow& timeWindow() const { return window_; }
  // Every time axis shows the label format the window holds for it.
  void ShowTimeFormats();
  // SetTimeWindow: the five time axes from now − MinX to now + MaxX, and their keys written.
  void SetTimeWindow(TDateTime now);
  // The wind buttons' window: the two wind charts alone, nothing written.
  void SetWindWindow(TDateTime now);
  // The zoom-out button: both axes of the temperature chart twice as wide around their
  // centre. Like any range the operator sets, it fixes the value axis.
  void ZoomOut();

  // A value axis as it stands: bounds, and whether it follows its series.
  TValueAxisScale Scale(ChartKind kind) const;
  void SetScale(ChartKind kind, const TValueAxisScale& scale);

  // RefreshPlots: the series rebuilt from the history for the window the temperature chart
  // shows, and handed to the charts. Answers the text of status panel 2 (none for an empty
  // history, whose panel keeps its text).
  std::optional<std::string> RefreshPlots(const TTinfosRec& history, const TSeriesFlags& flags);
  // With "Show the whole window" the series are made for the temperature chart's pixel
  // columns. When the chart lays itself out at another width (its first showing, a new
  // size), rebuild is called, at the next turn of the event loop, with the flags of the last
  // rebuild, so the series follow the columns without waiting for the next poll.
  void OnColumnsChanged(std::function<void(const TSeriesFlags&)> rebuild) {
    rebuild_ = std::move(rebuild);
  }

  // Every chart on screen redrawn once at the next turn of the event loop, however many
  // changes came before; a chart not on screen (its page or the window hidden) is redrawn
  // when it is shown.
  void Replot();

  // What the chart images need from the window, asked at each snapshot or image: their
  // folder, the page that tells the public address, and the caption of LabelTemp.
  struct ImageSource {
    std::function<std::filesystem::path()> ChemIMG;
    std::function<std::string()> ipEchoUrl;
    std::function<QString()> temperatureText;
  };
  void SetImageSource(ImageSource source) { images_ = std::move(source); }
  std::filesystem::path ChemIMG() const { return images_.ChemIMG(); }
  // One look-up of the public address for the images of one snapshot or upload, off the
  // window's thread; done gets the address on the window's thread, unless receiver or this
  // set went first.
  void LookUpAddress(QObject* receiver, AddressLookup::Done done);
  // SaveChartImage of one chart with that address in its caption and its log line; failures
  // reach the caller.
  void SaveChartImage(ChartKind kind, const std::filesystem::path& fileName, int quality,
                      const std::string& address) const;

 private:
  void FollowSeries(QCustomPlot& chart);
  void Replot(ChartKind kind);
  void ColumnsLaidOut();

  std::array<QCustomPlot*, kChartCount> charts_;
  std::array<ReplotWhenShown*, kChartCount> replots_{};  // owned by the charts
  // Value axes that follow their series, as the chart component's automatic scaling.
  std::array<bool, kChartCount> automatic_{};
  TTimeWindow window_;
  std::function<TSettingsFile*()> settings_;
  SeriesBuilder builder_;
  SeriesView view_;
  ImageSource images_;
  // The columns and flags of the last rebuild.
  int columns_ = 0;
  std::optional<TSeriesFlags> flags_;
  std::function<void(const TSeriesFlags&)> rebuild_;
  // Context of the connections to the charts and of the calls queued: gone with this.
  std::unique_ptr<QObject> context_;
  // First to go: its threads end before anything their answers reach.
  AddressLookup lookup_;
};

}  // namespace vesk
