#include "cli/serve_output.h"

#include "acquisition/model_type.h"
#include "acquisition/readings_text.h"
#include "acquisition/thread_request.h"
#include "cli/device_output.h"
#include "cli/json_writer.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "station/station_state.h"

namespace vesk::cli {

std::string ServePollText(long long poll, TDateTime when, const IdentityState& identity,
                          const ThreadRequest& worker) {
  std::string text = "Poll " + std::to_string(poll) + ": ";
  if (!worker.ErrorMes.empty()) {
    return LogLine(when, text + worker.ErrorMes) + "\n";
  }
  const TinfosRec& rec = worker.FDataOUT.infosRec;
  const ReadingsTexts readings = FormatReadings(rec);
  text += "outside " + readings.LabelTemp + " " + readings.LabelRH + " (dew point " +
          readings.LabelPR + "), inside " + readings.LabeltempInsideCamera;
  if (identity.DisplayRH_int) {
    text += " " + readings.LabelRH_int;
  }
  if (identity.DisplayTempHot) {
    text += ", hot plate " + readings.LabelTempHOT;
  }
  if (HasWeatherModule(identity.TypeCam)) {
    text += FormatText(", %1.2f hPa, wind %1.1f km/h %1.0f ° Az", rec.Pressure, rec.WindSpeed,
                       rec.Windir);
  }
  text += rec.ActiveHeater ? ", heater on" : ", heater off";
  return LogLine(when, text) + "\n";
}

std::string ServePollJson(long long poll, TDateTime when, const ThreadRequest& worker) {
  JsonObject json;
  json.add("Date", when).add("Poll", poll);
  if (!worker.ErrorMes.empty()) {
    return json.add("ErrorMes", worker.ErrorMes).text() + "\n";
  }
  return AddPollFields(json, worker.FDataOUT).text() + "\n";
}

}  // namespace vesk::cli
