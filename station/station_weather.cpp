#include "station/station.h"
#include "weather/ext_datas.h"

namespace vesk {

TWeatherReadout Station::GetExtDatas() {
  return WeatherReadout(vesk::GetExtDatas(Link()), humidity_);
}

}  // namespace vesk
