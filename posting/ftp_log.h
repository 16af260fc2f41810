#pragma once

#include <filesystem>
#include <string>

#include "common/datetime.h"

namespace vesk {

inline constexpr char kFtpLogFileName[] = "ftp.log";

// The date and time as the system writes them, "." and the tenth of the second, " :  -> "
// and the text.
std::string FtpLogLine(TDateTime when, const std::string& text);

// Appends the line to "ftp.log" in the folder, creating it. A line that cannot be written
// is lost; the upload goes on.
void AppendFtpLog(const std::filesystem::path& folder, const std::string& line);

}  // namespace vesk
