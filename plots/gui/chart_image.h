#pragma once

#include <QImage>
#include <QString>

#include <filesystem>
#include <string>

class QCustomPlot;

namespace vesk {

// The chart drawn at its on-screen size into a 24-bit picture, with the two captions over
// its top edge in bold Arial of 15 pixels: one with its top-left corner at (5, 5), the
// other ending 5 pixels from the right edge. A chart on a tab page not shown is drawn at the
// size it has when its page is shown.
QImage CaptionedChart(QCustomPlot& chart, const QString& leftCaption, const QString& rightCaption);

// SaveChartImage: the captioned chart, the outside temperature text and the time at the
// left, "[IP=" + the public address + "]" at the right; the line "Saved \"file\" [IP=…]"
// with the same address logged before the file is written, so the log holds it even when
// the write fails; then the JPEG of that quality in place of the file. The address was
// looked up beforehand, off the window's thread (AddressLookup). Failures reach the caller.
void SaveChartImage(QCustomPlot& chart, const std::filesystem::path& fileName, int quality,
                    const QString& temperatureText, const std::string& address);

}  // namespace vesk
