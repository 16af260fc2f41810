#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "settings/ini_document.h"

namespace vesk {

// One value to write: section, key and the value's text.
struct TIniValue {
  std::string section;
  std::string key;
  std::string text;
};

// An INI file on disk. Every read looks at the file as it is now and every write reaches the
// file at once, merged into what the file holds, so there is no separate save step and
// hand edits made while the program runs are kept.
//
// Reads never fail: a missing or unreadable file, section or key, or a malformed number gives
// the default. Writes raise EInOutError "Unable to write to " + the path on failure.
class TIniFile {
 public:
  // A file holding a non-empty value under one of the secret keys is kept readable by its
  // owner only.
  explicit TIniFile(std::filesystem::path path,
                    std::vector<std::pair<std::string, std::string>> secretKeys = {});

  const std::filesystem::path& path() const { return path_; }

  // Removes the temporary files that writers of this file killed during a write left beside
  // it (those of a process that still runs are left alone). Reads and writes never look at
  // them; this only keeps the folder clean. Never raises.
  void RemoveLeftTemporaries() const;

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal, or hexadecimal after "0x"; not a number, or beyond 32 bits: the default.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // An integer, any value other than 0 meaning true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  // A decimal number with the point; empty or malformed: the default.
  double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, long long value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void WriteFloat(const std::string& section, const std::string& key, double value);

  // Writes the values in order with one replacement of the file.
  void WriteValues(const std::vector<TIniValue>& values);

  // The texts the typed writes store: "12", "1"/"0", general format with the point.
  static std::string IntegerText(long long value);
  static std::string BoolText(bool value);
  static std::string FloatText(double value);

 private:
  TIniDocument Load() const;
  bool HoldsSecret(const TIniDocument& document) const;

  std::filesystem::path path_;
  std::vector<std::pair<std::string, std::string>> secretKeys_;
};

}  // namespace vesk
