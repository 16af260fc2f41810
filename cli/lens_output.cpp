#include "cli/lens_output.h"

#include <vector>

#include "cli/device_output.h"
#include "cli/json_writer.h"
#include "lens/iris_orders.h"

namespace vesk::cli {
namespace {

std::vector<std::string> FixedApertureNames() {
  std::vector<std::string> names;
  for (const FixedAperture& aperture : kFixedApertures) {
    names.emplace_back(aperture.caption);
  }
  return names;
}

std::vector<std::string> ApertureNames(const TACanonDiaphInf& list) {
  std::vector<std::string> names;
  for (const TCanonDiaphInf& aperture : list) {
    names.push_back(aperture.FrendlyName);
  }
  return names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    text += (text.empty() ? "" : " ") + name;
  }
  return text;
}

long long WordAt(const TArrayLens& bytes, std::size_t n) {
  return bytes[n] * 256 + bytes[n + 1];
}

}  // namespace

std::string LensText(const LensPoll& poll, const LensState& lens, const TDataOUT& data) {
  if (const auto& basic = poll.texts.basic) {
    return TextLine("Presence:", basic->Label_EF_Presence) +
           TextLine("Lens information:", basic->LabelID_Obj) +
           TextLine("Min Max aperture:", basic->LabelCanonApertureMinMax) +
           TextLine("Apertures:", Joined(FixedApertureNames()));
  }
  const LensAdvancedTexts& advanced = *poll.texts.advanced;
  std::string text = TextLine("Presence:", advanced.LabelPresAF2);
  if (!advanced.details) {
    return text;
  }
  const LensDetailTexts& details = *advanced.details;
  text +=
      TextLine("Identifier:", details.Label_Lens_ID) + TextLine("Name:", Printable(data.LensName)) +
      TextLine("Focal length:", details.LabelFocale) + TextLine("Distance d1:", details.Labeld1) +
      TextLine("Distance d2:", details.Labeld2) + TextLine("Iris max:", details.range.LabelAFmax) +
      TextLine("Iris min:", details.range.LabelAFmin);
  return text + TextLine("Apertures:", poll.lensError
                                           ? "none: " + *poll.lensError
                                           : Joined(ApertureNames(lens.FACanonDiaphInf)));
}

std::string LensJson(const LensPoll& poll, const LensState& lens, const TDataOUT& data) {
  JsonObject json;
  json.add("PresenceAF", data.PresenceAF)
      .add("FirstByteAF", data.FirstByteAF)
      .add("LensCheckCount", lens.LensCheckCount);
  if (const auto& basic = poll.texts.basic) {
    json.add("LabelID_Obj", basic->LabelID_Obj)
        .add("LabelCanonApertureMinMax", basic->LabelCanonApertureMinMax)
        .add("FACanonDiaphInf", FixedApertureNames());
    return json.text() + "\n";
  }
  const auto& details = poll.texts.advanced->details;
  if (!details) {
    return json.text() + "\n";
  }
  json.add("lensID", data.lensID)
      .add("LensName", data.LensName)
      .add("Focale", WordAt(data.LensData, 12))
      .add("d1", WordAt(data.LensData, 14) / 100.0)
      .add("d2", WordAt(data.LensData, 16) / 100.0)
      .add("FExtendedCANON", details->range.FExtendedCANON)
      .add("LabelAFmax", details->range.LabelAFmax)
      .add("LabelAFmin", details->range.LabelAFmin);
  if (poll.lensError) {
    json.add("FACanonDiaphInf", std::vector<std::string>{}).add("lensError", *poll.lensError);
  } else {
    json.add("FACanonDiaphInf", ApertureNames(lens.FACanonDiaphInf));
  }
  return json.text() + "\n";
}

}  // namespace vesk::cli
