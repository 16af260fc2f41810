#include "tests/integrations/alpaca_rig.h"

namespace vesk::test {
namespace {

AlpacaRig::Answer AnswerOf(const httplib::Result& result) {
  AlpacaRig::Answer answer;
  if (!result) {
    return answer;
  }
  answer.status = result->status;
  answer.body = result->body;
  answer.json = nlohmann::json::parse(result->body, nullptr, false);
  if (answer.json.is_discarded()) {
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

int AlpacaRig::Started(TIntegrations& integrations) {
  integrations.Start();
  return integrations.AlpacaPort();
}

AlpacaRig::AlpacaRig(sim::BoardIdentity identity, const TAlpacaSettings& alpaca)
    : station_(identity),
      integrations_(alpaca, {}, Options()),
      client_("127.0.0.1", Started(integrations_)) {
  station_.SetHandOver([this](const BoardReading& reading) { integrations_.PollArrived(reading); });
}

AlpacaRig::Answer AlpacaRig::Get(const std::string& pathAndQuery) {
  return AnswerOf(client_.Get(pathAndQuery.c_str()));
}

AlpacaRig::Answer AlpacaRig::Put(const std::string& path, const std::string& form) {
  return AnswerOf(client_.Put(path.c_str(), form, "application/x-www-form-urlencoded"));
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
