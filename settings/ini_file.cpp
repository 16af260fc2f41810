#include "settings/ini_file.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/durable_replace.h"
#include "common/exceptions.h"
#include "common/number_text.h"

namespace vesk {
TIniFile::TIniFile(std::filesystem::path path,
                   std::vector<std::pair<std::string, std::string>> secretKeys)
    : path_(std::move(path)), secretKeys_(std::move(secretKeys)) {}

void TIniFile::RemoveLeftTemporaries() const {
  RemoveAbandonedTemporaries(path_);
}

// A missing file is an empty one; a file that exists but cannot be read raises, so that a
// write never replaces content it could not see.
TIniDocument TIniFile::Load() const {
  std::error_code error;
  if (!std::filesystem::exists(path_, error) && !error) {
    return {};
  }
  std::ifstream in(path_, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (error || !in || in.bad()) {
    throw EInOutError("Unable to read " + path_.string());
  }
  return TIniDocument(content.str());
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  try {
    return Load().Find(section, key).value_or(defaultValue);
  } catch (const EInOutError&) {
    return defaultValue;
  }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
  long long value = 0;
  if (!TextToInt(ReadString(section, key, ""), value, true) || !std::in_range<int>(value)) {
    return defaultValue;
  }
  return static_cast<int>(value);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key,
                           double defaultValue) const {
  double value = 0;
  return TextToFloat(ReadString(section, key, ""), value) ? value : defaultValue;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  WriteValues({{section, key, value}});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
  WriteString(section, key, IntegerText(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, BoolText(value));
}

void TIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
  WriteString(section, key, FloatText(value));
}

void TIniFile::WriteValues(const std::vector<TIniValue>& values) {
  TIniDocument document;
  try {
    document = Load();
  } catch (const EInOutError&) {
    throw EInOutError("Unable to write to " + path_.string());
  }
  bool changed = false;
  for (const auto& value : values) {
    changed = document.Set(value.section, value.key, value.text) || changed;
  }
  const bool secret = HoldsSecret(document);
  if (changed) {
    ReplaceFileContent(path_, document.Text(), secret);
  } else if (secret) {
    // Nothing new to write, but a password put in by hand is still hidden from others.
    RestrictToOwner(path_);
  }
}

bool TIniFile::HoldsSecret(const TIniDocument& document) const {
  for (const auto& [section, key] : secretKeys_) {
    const auto value = document.Find(section, key);
    if (value && !value->empty()) {
      return true;
    }
  }
  return false;
}

std::string TIniFile::IntegerText(long long value) {
  return std::to_string(value);
}

std::string TIniFile::BoolText(bool value) {
  return value ? "1" : "0";
}

std::string TIniFile::FloatText(double value) {
  return FloatToText(value);
}

}  // namespace vesk
