#include "tests/integrations/alpaca_rig.h"

#include "tests/integrations/loopback_client.h"

namespace vesk::test {
namespace {

AlpacaRig::Answer AnswerOf(HttpAnswer http) {
  AlpacaRig::Answer answer;
  answer.status = http.status;
  answer.body = std::move(http.body);
  answer.json = nlohmann::json::parse(answer.body, nullptr, false);
  if (answer.status == 0 || answer.json.is_discarded()) {
    answer.json = nullptr;
  }
  return answer;
}

}  // namespace

IntegrationsOptions AlpacaRig::Options() {
  IntegrationsOptions options;
  options.log = [this](const std::string& line) {
    std::lock_guard lock(logMutex_);
    log_.push_back(line);
  };
  options.now = [this] { return now_.load(); };
  options.discoveryPort = 0;
  return options;
}

AlpacaRig::AlpacaRig(sim::BoardIdentity identity, const TAlpacaSettings& alpaca)
    : station_(identity), integrations_(alpaca, {}, Options()) {
  integrations_.Start();
  station_.SetHandOver([this](const BoardReading& reading) { integrations_.PollArrived(reading); });
}

AlpacaRig::Answer AlpacaRig::Get(const std::string& pathAndQuery) {
  return AnswerOf(HttpRequest(integrations_.AlpacaPort(), "GET", pathAndQuery));
}

AlpacaRig::Answer AlpacaRig::Put(const std::string& path, const std::string& form,
                                 const std::string& contentType) {
  return AnswerOf(HttpRequest(integrations_.AlpacaPort(), "PUT", path, form, contentType));
}

void AlpacaRig::ConnectDevices() {
  for (const char* device : {"observingconditions", "safetymonitor"}) {
    Put(std::string("/api/v1/") + device + "/0/connected", "Connected=true");
  }
}

std::vector<std::string> AlpacaRig::LogLines() const {
  std::lock_guard lock(logMutex_);
  return log_;
}

}  // namespace vesk::test
