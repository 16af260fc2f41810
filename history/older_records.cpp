#include "history/older_records.h"

namespace vesk {

TinfosRec ToTinfosRec(const TinfosRecRozEza& old) {
  TinfosRec rec;
  rec.Date = old.Date;
  rec.TempExt = old.Temp_Ext;
  rec.RHExt = old.RH_Ext;
  rec.TempInt = old.TempPCB;
  rec.RHInt = old.RH_Int;
  rec.TempHot = old.TempBaseDome;
  rec.Pressure = old.PressATM;
  rec.Windir = old.WinDir;
  rec.WindSpeed = old.WinSpeed;
  rec.ActiveHeater = old.ActiveHeater;
  return rec;
}

TinfosRec ToTinfosRec(const TinfosRecCorvo& old) {
  TinfosRec rec;
  rec.Date = old.Date;
  rec.TempExt = old.Temp;
  rec.RHExt = old.RH;
  rec.TempInt = old.Temp2;
  rec.RHInt = old.RH2;
  rec.TempHot = old.TempHot;
  rec.ActiveHeater = old.ActiveHeater;
  return rec;
}

}  // namespace vesk
