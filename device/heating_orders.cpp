#include "device/heating_orders.h"

#include "acquisition/sensor_conversions.h"
#include "common/number_text.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

HeatingThresholds GetConfig(TComObjRs232& link) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({REQ_GET_CONFIG}, reply);
  const ReplyReader config(reply);
  return {config.word(0), config.word(2)};
}

HeatingThresholdTexts FormatThresholds(const HeatingThresholds& thresholds,
                                       const HumidityConstants& humidity) {
  HeatingThresholdTexts t;
  t.Label_TempSeuilHint = FormatText("%d", thresholds.gSeuil_Temp_asWord);
  t.Label_RHSeuilHint = FormatText("%d", thresholds.gSeuil_RH_asWord);
  t.Label_TempSeuil = FormatText("%1.1f °C", CountToCelsius(thresholds.gSeuil_Temp_asWord));
  t.Label_RHSeuil = FormatText("%1.0f %%", CountToHumidity(thresholds.gSeuil_RH_asWord, humidity));
  t.logLine =
      FormatText("GetcurrentSetup->  Temperature threshold : %s°C (%s) RH threshold : %s%%RH (%s)",
                 t.Label_TempSeuil.c_str(), t.Label_TempSeuilHint.c_str(), t.Label_RHSeuil.c_str(),
                 t.Label_RHSeuilHint.c_str());
  return t;
}

}  // namespace vesk
