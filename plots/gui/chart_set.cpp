#include "plots/gui/chart_set.h"

#include "plots/gui/custom_plot.h"

#include "plots/gui/chart_image.h"
#include "plots/gui/chart_time.h"
#include "plots/time_format.h"
#include "settings/settings_file.h"

namespace vesk {

// A chart on screen is drawn again at the next turn of the event loop; one that is not (its
// page or the window hidden) when it is shown again. Only one chart of the five is on screen
// at a time, and the hidden ones would be drawn after every poll for nothing.
class ReplotWhenShown : public QObject {
 public:
  explicit ReplotWhenShown(QCustomPlot& chart) : QObject(&chart), chart_(chart) {
    chart.installEventFilter(this);
    // Drawn for any reason (a new size, on showing too): up to date.
    connect(&chart, &QCustomPlot::afterReplot, this, [this] { stale_ = false; });
  }

  void Replot() {
    if (chart_.isVisible()) {
      chart_.replot(QCustomPlot::rpQueuedReplot);
    } else {
      stale_ = true;
    }
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Show && stale_) {
      chart_.replot(QCustomPlot::rpQueuedRefresh);  // drawn now, before the page is painted
    }
    return false;
  }

 private:
  QCustomPlot& chart_;
  bool stale_ = true;
};

namespace {

QCPRange Zoomed(const QCPRange& range) {
  const TTimeRange wider = ZoomedOut({range.lower, range.upper});
  return {wider.min, wider.max};
}

}  // namespace

ChartSet::ChartSet(const std::array<QCustomPlot*, kChartCount>& charts)
    : charts_(charts), view_(charts), context_(std::make_unique<QObject>()) {
  // The pressure axis is fixed from the start; the others follow their series until the
  // start sequence fixes the temperature and humidity ones.
  automatic_.fill(true);
  automatic_[static_cast<std::size_t>(ChartKind::Pressure)] = false;
  for (std::size_t k = 0; k < kChartCount; ++k) {
    replots_[k] = new ReplotWhenShown(*charts_[k]);  // owned by the chart
  }
  QObject::connect(&chart(ChartKind::Temperatures), &QCustomPlot::afterLayout, context_.get(),
                   [this] { ColumnsLaidOut(); });
}

ChartSet::~ChartSet() = default;

void ChartSet::ColumnsLaidOut() {
  if (!rebuild_ || !flags_ || !flags_->wholeWindow ||
      chart(ChartKind::Temperatures).axisRect()->width() == columns_) {
    return;
  }
  // Not within the chart's drawing: the rebuild draws the charts again.
  QMetaObject::invokeMethod(
      context_.get(),
      [this] {
        if (flags_ && chart(ChartKind::Temperatures).axisRect()->width() != columns_) {
          rebuild_(*flags_);
        }
      },
      Qt::QueuedConnection);
}

void ChartSet::ShowTimeFormats() {
  for (std::size_t k = 0; k < kChartCount; ++k) {
    const auto kind = static_cast<ChartKind>(k);
    const std::string& format = window_.formats[static_cast<std::size_t>(LookOf(kind).timeChart)];
    auto ticker = chart(kind).xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    ticker->setDateTimeFormat(QString::fromStdString(QtDateTimeFormat(format)));
  }
  Replot();
}

void ChartSet::SetTimeWindow(TDateTime now) {
  const TTimeRange range = window_.Range(now);
  for (QCustomPlot* c : charts_) {
    c->xAxis->setRange(ChartKey(range.min), ChartKey(range.max));
  }
  if (TSettingsFile* file = settings()) {
    window_.Write(*file);
  }
  Replot();
}

void ChartSet::SetWindWindow(TDateTime now) {
  const TTimeRange range = window_.Range(now);
  for (const ChartKind kind : {ChartKind::WindSpeed, ChartKind::WindData}) {
    chart(kind).xAxis->setRange(ChartKey(range.min), ChartKey(range.max));
    Replot(kind);
  }
}

void ChartSet::ZoomOut() {
  QCustomPlot& temp = chart(ChartKind::Temperatures);
  temp.xAxis->setRange(Zoomed(temp.xAxis->range()));
  temp.yAxis->setRange(Zoomed(temp.yAxis->range()));
  automatic_[static_cast<std::size_t>(ChartKind::Temperatures)] = false;
  Replot(ChartKind::Temperatures);
}

TValueAxisScale ChartSet::Scale(ChartKind kind) const {
  const QCPRange range = chart(kind).yAxis->range();
  return {range.lower, range.upper, automatic_[static_cast<std::size_t>(kind)]};
}

void ChartSet::SetScale(ChartKind kind, const TValueAxisScale& scale) {
  QCustomPlot& c = chart(kind);
  automatic_[static_cast<std::size_t>(kind)] = scale.Automatic;
  c.yAxis->setRange(scale.Minimum, scale.Maximum);
  if (scale.Automatic) {
    FollowSeries(c);
  }
  Replot(kind);
}

void ChartSet::FollowSeries(QCustomPlot& c) {
  bool any = false;
  for (int i = 0; i < c.graphCount() && !any; ++i) {
    any = !c.graph(i)->data()->isEmpty();
  }
  if (any) {  // an empty chart keeps its bounds
    c.yAxis->rescale();
  }
}

std::optional<std::string> ChartSet::RefreshPlots(const TTinfosRec& history,
                                                  const TSeriesFlags& flags) {
  const QCustomPlot& temp = chart(ChartKind::Temperatures);
  TPlotWindow window;
  window.timeMin = FromChartKey(temp.xAxis->range().lower);
  window.timeMax = FromChartKey(temp.xAxis->range().upper);
  window.valueMin = temp.yAxis->range().lower;
  window.columns = temp.axisRect()->width();
  columns_ = window.columns;
  flags_ = flags;
  const TPlotSeries& plot = builder_.RefreshPlots(history, window, flags);
  view_.Show(plot);
  for (std::size_t k = 0; k < kChartCount; ++k) {
    if (automatic_[k]) {
      FollowSeries(*charts_[k]);
    }
  }
  Replot();
  return plot.statusText;
}

void ChartSet::Replot() {
  for (ReplotWhenShown* replot : replots_) {
    replot->Replot();
  }
}

void ChartSet::Replot(ChartKind kind) {
  replots_[static_cast<std::size_t>(kind)]->Replot();
}

void ChartSet::LookUpAddress(QObject* receiver, AddressLookup::Done done) {
  lookup_.Start(images_.ipEchoUrl(), receiver, std::move(done));
}

void ChartSet::SaveChartImage(ChartKind kind, const std::filesystem::path& fileName, int quality,
                              const std::string& address) const {
  vesk::SaveChartImage(chart(kind), fileName, quality, images_.temperatureText(), address);
}

}  // namespace vesk
