#pragma once

#include <cstdint>
#include <string>

#include "common/byte_array.h"

namespace vesk {

// Firmware version of a version reply: minor / 10 up to 10, minor / 100 above
// (3, 5 is 3.5; 2, 18 is 2.18; 2, 20 and 2, 2 are both 2.2).
double FirmwareVersion(std::uint8_t major, std::uint8_t minor);

enum class CoolingKind { Hidden, Reduced, Full };
enum class LensFlag { Unchanged, Set, Cleared };

// What a model type code shows and drives: every fact the program keeps of a model, in one
// table.
struct ModelType {
  const char* label = "";
  CoolingKind cooling = CoolingKind::Hidden;
  // The external weather module: its pages, its readout in each poll and its chart series.
  bool weatherPages = false;
  bool basicLensPage = false;
  bool advancedLensPage = false;
  LensFlag lens = LensFlag::Unchanged;
  bool hotSide = false;
  // The module's second-generation analog front end (every weather model but 17).
  bool weatherModuleV2 = false;
  // The readings panel shows pressure and wind (every weather model but 37, whose labels
  // stay hidden although its poll reads the module).
  bool pressureAndWindLabels = false;
};

// The model type table; codes 21 and 25 choose their lens page by firmware version.
ModelType ModelTypeOf(std::uint8_t TypeCam, double Version);

// The board's identity as its version reply tells it.
struct DeviceIdentity {
  std::uint8_t major = 0;
  std::uint8_t minor = 0;
  double Version = 0;
  std::uint8_t TypeCam = 1;
  bool typed = false;  // major 2 or more: the reply carries a model type
  ModelType model;
  bool DisplayTempHot = false;
  bool DisplayRH_int = false;
  bool DriveEFlens_intf = false;
  bool GroupBoxV3 = false;  // firmware 3 and later: serial number and humidity setup

  // " Ver. FIRM : 3.5"
  std::string VersionText() const;
};

// The connection reads the reply in two steps, each shown before the next may fail:
// the firmware version (bytes 0 and 1; TypeCam 1 below major 2)...
DeviceIdentity IdentifyVersion(const TArrayByte& reply);
// ...then, from major 2 on, the model type and the feature byte. A reply too short for the
// type byte raises "Range check error".
void IdentifyModel(const TArrayByte& reply, DeviceIdentity& identity);

// Both steps. Only the models marked to set the lens flag drive a lens: a model
// the table leaves "unchanged" does not inherit the flag of the board identified before it
// (after a model change the poll would otherwise send lens orders to a board without one). A
// reply too short for its major raises "Range check error".
DeviceIdentity IdentifyDevice(const TArrayByte& reply);

}  // namespace vesk
