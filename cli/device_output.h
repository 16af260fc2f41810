#pragma once

#include <optional>
#include <string>

#include "acquisition/poll_records.h"
#include "cli/json_writer.h"
#include "link/device_identity.h"

namespace vesk::cli {

// What identify finds out about the board.
struct BoardIdentification {
  DeviceIdentity identity;
  std::optional<std::string> serialNumber;  // read on firmware 3 and later
};

// " [Astel9 Weather]" -> "Astel9 Weather": the table's label is made for the status bar.
std::string ModelName(const ModelType& model);

// Each text ends with a newline; the JSON texts are one object on one line.
std::string IdentityText(const BoardIdentification& board);
std::string IdentityJson(const BoardIdentification& board);

// The readings of one successful poll; only the lines the model measures.
std::string PollText(const DeviceIdentity& identity, const TDataOUT& data);
// Every field of the poll; what the model does not measure is 0.
std::string PollJson(const TDataOUT& data);
// The same fields, added to json.
JsonObject& AddPollFields(JsonObject& json, const TDataOUT& data);

std::string ErrorJson(const std::string& ErrorMes);

// "name:" padded to a column, the value, a newline.
std::string TextLine(const char* name, const std::string& value);

// A text that comes from the lens, one byte per character: nothing in it may reach the
// terminal as a control sequence (bytes below 0x20 and from 0x7F as "\xE9").
std::string Printable(const std::string& text);

}  // namespace vesk::cli
