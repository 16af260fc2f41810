#include "plots/external_ip.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace vesk {
namespace {

constexpr std::size_t kLargestPage = 1 << 20;  // an echo page is a few lines

std::size_t AppendToPage(char* data, std::size_t size, std::size_t count, void* page) {
  auto& text = *static_cast<std::string*>(page);
  const std::size_t length = size * count;
  if (text.size() + length > kLargestPage) {
    return 0;  // not an echo page: the transfer fails
  }
  text.append(data, length);
  return length;
}

// Called by the transfer at least once a second, even while it waits: a stop asked for ends it.
int Progress(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::stop_token*>(stop)->stop_requested() ? 1 : 0;
}

}  // namespace

std::string GetExternalIP(const std::string& url, std::stop_token stop) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                 curl_easy_cleanup);
  if (!curl) {
    return kNoInternet;
  }
  std::string page;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, 2000L);
  // A server that takes the connection and never answers would otherwise hold the window
  // for good.
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 2L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, AppendToPage);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &page);
  if (stop.stop_possible()) {
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &stop);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  }
  if (curl_easy_perform(c) != CURLE_OK) {
    return kNoInternet;
  }
  return AddressFromPage(page);
}

}  // namespace vesk
