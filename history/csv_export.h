#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "common/datetime.h"
#include "history/tinfos_rec.h"

namespace vesk {

// "Y" for a non-zero byte, "N" for zero.
const char* YesNoLetter(std::uint8_t flag);

// The chosen name with its extension replaced by ".csv": from the last "." of the last path
// component on, when it holds one; the folders are never changed.
std::filesystem::path CsvFileName(const std::filesystem::path& chosen);

// The "Date as string" field: the date-time text of the system's format, or nothing for a
// date that names no day from 0001-01-01 to 9999-12-31 (not a number, an infinity, a
// corrupted record), whose text would show a made-up date.
std::string CsvDateText(TDateTime value);

// The header line, in the ANSI code page ("°" is the byte 0xB0), without its line end.
extern const char kCsvHeader[];

// Appends the data line of rec, "\r\n" included: the text of
// "%1.5f;%s;%1.1f;%1.1f;%1.1f;%1.1f;%1.0f;%s;%1.1f;%1.1f;%1.0f;" with the point as decimal
// separator and the date-time text of the system's format.
void AppendCsvLine(std::string& text, const TinfosRec& rec);

// Appends the history to CsvFileName(fileName), creating the file with its header line
// when it does not exist. Never raises: returns the message to show on a failure,
// "Erreur pd la sauvegarde -> " + the reason; lines written before it stay in the file.
std::optional<std::string> ExportCsv(const TTinfosRec& history,
                                     const std::filesystem::path& fileName);

}  // namespace vesk
