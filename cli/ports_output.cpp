#include "cli/ports_output.h"

#include "cli/device_output.h"
#include "cli/json_writer.h"
#include "common/number_text.h"

namespace vesk::cli {
namespace {

std::string Holders(const std::vector<int>& holders) {
  std::string text;
  for (const int pid : holders) {
    text += (text.empty() ? "" : ", ") + std::to_string(pid);
  }
  return text;
}

std::string UsbText(const SerialPortInfo& info) {
  std::string text = info.usbVendorId + ":" + info.usbProductId;
  for (const auto* part : {&info.manufacturer, &info.product}) {
    if (!part->empty()) {
      text += " " + Printable(*part);
    }
  }
  if (!info.usbSerial.empty()) {
    text += " (serial " + Printable(info.usbSerial) + ")";
  }
  return text;
}

std::string BoardText(const PortProbe& probe) {
  const DeviceIdentity& id = probe.identity;
  const std::string name = id.typed ? ModelName(id.model) : "";
  std::string text = "board " + (name.empty() ? "model " + std::to_string(id.TypeCam) : name) +
                     ", firmware " + FormatText("%d.%d", id.major, id.minor);
  if (probe.serialNumber) {
    text += ", serial number " + *probe.serialNumber;
  }
  return text;
}

std::string ProbeText(const PortProbe& probe) {
  switch (probe.result) {
    case PortProbe::Result::Board:
      return BoardText(probe);
    case PortProbe::Result::Held:
      return "busy, held by process " + Holders(probe.holders) + " (not probed)";
    case PortProbe::Result::NoAnswer:
      return "no board answered: " + probe.message;
    case PortProbe::Result::NotOpened:
      break;
  }
  return probe.message;
}

const char* ProbeName(PortProbe::Result result) {
  switch (result) {
    case PortProbe::Result::Board:
      return "board";
    case PortProbe::Result::Held:
      return "busy";
    case PortProbe::Result::NoAnswer:
      return "no answer";
    case PortProbe::Result::NotOpened:
      break;
  }
  return "not opened";
}

}  // namespace

std::string PortText(const ListedPort& port, const PortProbe* probe) {
  const SerialPortInfo& info = port.info;
  std::string text = info.device + "\n";
  for (const auto& name : info.byId) {
    text += "  " + TextLine("by-id:", name);
  }
  if (!info.usbVendorId.empty()) {
    text += "  " + TextLine("USB:", UsbText(info));
  }
  if (!info.driver.empty()) {
    text += "  " + TextLine("driver:", info.driver);
  }
  if (port.comNumber != 0) {
    text += "  " + TextLine("port:", std::to_string(port.comNumber) + " (ports/COM" +
                                         std::to_string(port.comNumber) + ")");
  }
  if (probe != nullptr) {
    text += "  " + TextLine("probe:", ProbeText(*probe));
  }
  return text;
}

std::string PortJson(const ListedPort& port, const PortProbe* probe) {
  const SerialPortInfo& info = port.info;
  JsonObject json;
  json.add("Device", info.device).add("ById", info.byId);
  if (!info.usbVendorId.empty()) {
    json.add("UsbVendorId", info.usbVendorId)
        .add("UsbProductId", info.usbProductId)
        .add("Manufacturer", info.manufacturer)
        .add("Product", info.product)
        .add("UsbSerial", info.usbSerial);
  }
  if (!info.driver.empty()) {
    json.add("Driver", info.driver);
  }
  if (port.comNumber != 0) {
    json.add("Port", port.comNumber);
  }
  if (probe != nullptr) {
    json.add("Probe", ProbeName(probe->result));
    if (probe->result == PortProbe::Result::Board) {
      const DeviceIdentity& id = probe->identity;
      json.add("Version", id.Version).add("TypeCam", id.TypeCam).add("label", ModelName(id.model));
      if (probe->serialNumber) {
        json.add("SerialNumber", *probe->serialNumber);
      }
    } else if (probe->result == PortProbe::Result::Held) {
      std::vector<std::string> pids;
      for (const int pid : probe->holders) {
        pids.push_back(std::to_string(pid));
      }
      json.add("HeldBy", pids);
    } else {
      json.add("ErrorMes", probe->message);
    }
  }
  return json.text() + "\n";
}

}  // namespace vesk::cli
