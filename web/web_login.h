#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace vesk {

// The logins of the web page: a session per successful login (a cookie's token, with its
// CSRF token), and a limit on failed logins per client address. The password is read from
// its file at each login, so `vesk-cli web password` counts at once. Any thread.
class WebLogins {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kFailuresAllowed = 5;
  static constexpr std::chrono::minutes kLockout{15};
  static constexpr std::chrono::hours kSessionLife{12};

  explicit WebLogins(std::filesystem::path folder);

  bool PasswordSet() const;

  struct Result {
    int status = 200;  // 401 wrong password, 403 no password set, 429 too many failures
    std::string error;
    std::string token;
    std::string csrf;
  };
  Result Login(const std::string& client, const std::string& password, Clock::time_point now);
  // The CSRF token of a session still open; none for another token.
  std::optional<std::string> CsrfOf(const std::string& token, Clock::time_point now);
  void Logout(const std::string& token);

 private:
  struct Session {
    std::string csrf;
    Clock::time_point ends;
  };
  struct Failures {
    int count = 0;
    Clock::time_point last;
  };

  const std::filesystem::path folder_;
  std::mutex mutex_;  // protects everything below
  std::map<std::string, Session> sessions_;
  std::map<std::string, Failures> failures_;
};

// The session token among a Cookie header's values ("vesk_session=…"); empty when absent.
std::string SessionCookie(const std::string& cookieHeader);
// The Set-Cookie value of a session: HttpOnly, SameSite=Strict; an empty token ends it.
std::string SessionCookieHeader(const std::string& token);

}  // namespace vesk
