// A build without the integrations' libraries (a core-only Linux build): the station runs
// without them.
#include "station/session_integrations.h"

namespace vesk {

std::unique_ptr<SessionIntegrations> SessionIntegrations::Make(const StationSettings&, Line, Line,
                                                               Station&, Station::PostToMain) {
  return nullptr;
}

}  // namespace vesk
