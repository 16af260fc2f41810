#include "plots/gui/chart_image.h"

#include "plots/gui/custom_plot.h"

#include <QLayout>
#include <QStackedWidget>

#include "common/datetime.h"
#include "common/event_log.h"
#include "plots/jpeg_writer.h"

namespace vesk {

namespace {

// A chart on a tab page that is not shown keeps the size its page had when it was last shown,
// or a size of no meaning before: its page is laid out at the size of the page shown, which
// every page of the tab control has on screen.
void LayOutAsShown(QWidget& chart) {
  for (QWidget* page = &chart; page->parentWidget() != nullptr; page = page->parentWidget()) {
    const auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    if (stack == nullptr || stack->currentWidget() == nullptr || stack->currentWidget() == page) {
      continue;
    }
    page->setGeometry(stack->currentWidget()->geometry());
    if (QLayout* layout = page->layout()) {
      layout->invalidate();
      layout->activate();
    }
  }
}

}  // namespace

QImage CaptionedChart(QCustomPlot& chart, const QString& leftCaption, const QString& rightCaption) {
  LayOutAsShown(chart);
  const int width = chart.width();
  const int height = chart.height();
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QCPPainter painter(&picture);
    chart.toPainter(&painter, width, height);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont font;
    // Liberation Sans has Arial's metrics, so the captions take the same room everywhere.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::black);
    constexpr int kMargin = 5;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter.drawText(QRect(kMargin, kMargin, width, height), flags, leftCaption);
    const int rightWidth = painter.fontMetrics().horizontalAdvance(rightCaption);
    painter.drawText(QRect(width - rightWidth - kMargin, kMargin, rightWidth + kMargin, height),
                     flags, rightCaption);
  }
  return picture.convertToFormat(QImage::Format_RGB888);
}

void SaveChartImage(QCustomPlot& chart, const std::filesystem::path& fileName, int quality,
                    const QString& temperatureText, const std::string& address) {
  const QString left =
      temperatureText + QStringLiteral(" : ") + QString::fromLocal8Bit(DateTimeToText(Now()));
  const QString right =
      QStringLiteral("[IP=") + QString::fromStdString(address) + QStringLiteral("]");
  const QImage picture = CaptionedChart(chart, left, right);
  WriteLog("Saved \"" + fileName.string() + "\" [IP=" + address + "]");
  WriteJpeg(fileName,
            TRgbImage{picture.constBits(), picture.width(), picture.height(),
                      static_cast<std::size_t>(picture.bytesPerLine())},
            quality);
}

}  // namespace vesk
