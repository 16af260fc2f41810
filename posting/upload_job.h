#pragma once

#include <filesystem>
#include <string>

#include "posting/infos_server.h"
#include "settings/ftp_credentials.h"

namespace vesk {

// The chart images an upload renders, in upload order, in the images folder.
inline constexpr char kTempImage[] = "temp.jpg";
inline constexpr char kRHImage[] = "RH.jpg";

// The job of one upload: the account and the two chart images.
TInfosServer MakeUploadJob(const TFTPCredentials& account,
                           const std::filesystem::path& imagesFolder);

// The event log's line when an upload starts: the host between double quotes.
std::string StartFtpText(const std::string& host);

}  // namespace vesk
