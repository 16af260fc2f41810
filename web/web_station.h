#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/readings_text.h"
#include "history/tinfos_rec.h"
#include "plots/plot_series.h"
#include "web/web_operation.h"

namespace vesk {

// The station as its live page shows it after each poll: what the window shows (readings
// texts, states, the status bar's model, serial number and counters), the link, the
// integrations.
struct WebLiveState {
  bool connected = false;
  bool reconnecting = false;
  bool polled = false;  // a poll succeeded since the connection: the readings are real
  std::string model;    // the status bar's model label
  std::string serialNumber;
  std::string firmware;  // " Ver. FIRM : 3.5"
  unsigned long polls = 0;
  unsigned long failedPolls = 0;
  ReadingsTexts readings = InitialReadings();
  bool hasTempHot = false;
  bool hasRHInt = false;
  bool hasPressureAndWind = false;
  bool hasCooling = false;
  bool hasLens = false;
  bool heaterOn = false;
  bool autoHeat = false;
  int powerLevel = 0;
  // The thresholds of the last read-back (°C, %RH); none before one.
  std::optional<double> thresholdTemp;
  std::optional<double> thresholdRH;
  std::string coolingMode;   // "Auto", "Manual" or "None"
  std::string coolingState;  // "Enabled" or "Disabled"
  bool fanOn = false;
  std::string lens;  // the lens page's main line
  std::string integrations;
  // The newest record and its value on each series shown, for the charts to append.
  std::optional<TinfosRec> record;
  std::array<double, kSeriesCount> recordValues{};
};

// What the web page asks of its station. Post may be called from any thread; everything
// else only from a job it runs, on the session's thread.
class WebStation {
 public:
  virtual ~WebStation() = default;
  // Queues job on the session's thread.
  virtual void Post(std::function<void()> job) = 0;
  virtual const TTinfosRec& History() const = 0;
  virtual TSeriesFlags Flags() const = 0;
  // Sends the change to the board, then polls so that the page shows its new state;
  // returns what to tell the operator, raises the board's failure.
  virtual std::string Operate(const WebOperation& operation) = 0;
};

}  // namespace vesk
