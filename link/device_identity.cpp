#include "link/device_identity.h"

#include "common/reply_reader.h"

namespace vesk {
namespace {

constexpr CoolingKind kNone = CoolingKind::Hidden;
constexpr CoolingKind kReduced = CoolingKind::Reduced;

ModelType Model(const char* label, CoolingKind cooling, bool weather, bool basic, bool advanced,
                LensFlag lens) {
  return {label, cooling, weather, basic, advanced, lens, true, weather, weather};
}

// A weather model without one of the module's usual facts.
ModelType Without(ModelType model, bool ModelType::*fact) {
  model.*fact = false;
  return model;
}

}  // namespace

double FirmwareVersion(std::uint8_t major, std::uint8_t minor) {
  return major + minor / (minor > 10 ? 100.0 : 10.0);
}

ModelType ModelTypeOf(std::uint8_t TypeCam, double Version) {
  using L = LensFlag;
  switch (TypeCam) {
    case 2:
      return {" [IS type]"};
    case 3:
      return {" [Tarn uncool]"};
    case 4:
      return Model(" [Tarn cooled]", CoolingKind::Full, false, false, false, L::Unchanged);
    case 5:
    case 8:
    case 9:
      return Model(" [Brisa]", kReduced, false, true, false, L::Set);
    case 6:
      return Model(" [Lumen v1]", kReduced, false, false, false, L::Unchanged);
    case 7:
      return Model(" [Quill IS]", kNone, false, false, false, L::Unchanged);
    case 16:
      return Model(" [Corvo]", kNone, false, false, false, L::Unchanged);
    case 17:
      return Without(Model(" [Astel Ext v1]", kNone, true, false, false, L::Unchanged),
                     &ModelType::weatherModuleV2);
    case 19:
      return Model(" [Astel2 Ext v2]", kNone, true, false, false, L::Unchanged);
    case 20:
      return Model(" [Astel2]", kNone, false, false, false, L::Unchanged);
    case 21: {
      // Exactly 2.2 (2, 2 or 2, 20) counts as the newer lens protocol.
      const bool advanced = Version >= 2.2;
      return Model(" [Astel 8]", kReduced, false, !advanced, advanced, L::Set);
    }
    case 22:
      return Model(" [Astel8 Ext v2]", kReduced, true, true, false, L::Set);
    case 23:
      return Model(" [Astel 5]", kReduced, false, false, false, L::Unchanged);
    case 24:
      return Model(" [Astel 5 Weather]", kReduced, true, false, false, L::Cleared);
    case 25: {
      const bool advanced = Version >= 3.0;
      return Model(" [Brisa 2M]", kReduced, false, !advanced, advanced, L::Set);
    }
    case 32:
      return Model(" [Astel 9]", kReduced, false, false, true, L::Set);
    case 33:
      return Model(" [BRISA 3M]", kReduced, false, false, true, L::Set);
    case 34:
      return Model(" [Astel9 Weather]", kReduced, true, false, true, L::Set);
    case 35:
      return Model(" [Corvo South]", kNone, false, false, true, L::Set);
    case 36:
      return Model(" [Astel 4]", kReduced, false, false, false, L::Unchanged);
    case 37:
      return Without(Model(" [Astel 4 Weather]", kReduced, true, false, false, L::Cleared),
                     &ModelType::pressureAndWindLabels);
    default:
      return {};
  }
}

std::string DeviceIdentity::VersionText() const {
  return " Ver. FIRM : " + std::to_string(major) + "." + std::to_string(minor);
}

DeviceIdentity IdentifyVersion(const TArrayByte& payload) {
  const ReplyReader reply(payload);
  DeviceIdentity id;
  id.major = reply.byte(0);
  id.minor = reply.byte(1);
  id.Version = FirmwareVersion(id.major, id.minor);
  id.TypeCam = 1;
  id.typed = id.major >= 2;
  return id;
}

DeviceIdentity IdentifyDevice(const TArrayByte& payload) {
  DeviceIdentity id = IdentifyVersion(payload);
  IdentifyModel(payload, id);
  return id;
}

void IdentifyModel(const TArrayByte& payload, DeviceIdentity& id) {
  if (!id.typed) {
    return;
  }
  const ReplyReader reply(payload);
  id.TypeCam = reply.byte(2);
  id.model = ModelTypeOf(id.TypeCam, id.Version);
  id.DriveEFlens_intf = id.model.lens == LensFlag::Set;

  id.GroupBoxV3 = id.major >= 3;
  id.DisplayTempHot = id.model.hotSide;
  // Without a hot side, the feature byte turns the inside humidity on; no byte 3 is off.
  id.DisplayRH_int = id.DisplayTempHot || (reply.size() > 3 && reply.byte(3) >= 5);
}

}  // namespace vesk
