#include "web/web_login.h"

#include "web/password_hash.h"

namespace vesk {
namespace {

constexpr char kCookieName[] = "vesk_session";

}  // namespace

WebLogins::WebLogins(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool WebLogins::PasswordSet() const {
  return ReadPasswordHash(folder_).has_value();
}

WebLogins::Result WebLogins::Login(const std::string& client, const std::string& password,
                                   Clock::time_point now) {
  const auto stored = ReadPasswordHash(folder_);
  if (!stored) {
    return {403, "No password is set: the page is read-only", {}, {}};
  }
  {
    std::lock_guard lock(mutex_);
    const auto found = failures_.find(client);
    if (found != failures_.end() && found->second.count >= kFailuresAllowed) {
      if (now - found->second.last < kLockout) {
        return {429, "Too many failed logins: try again in 15 minutes", {}, {}};
      }
      failures_.erase(found);
    }
  }
  // Slow on purpose (the hash's cost), outside the lock.
  if (!VerifyPassword(*stored, password)) {
    std::lock_guard lock(mutex_);
    Failures& failures = failures_[client];
    ++failures.count;
    failures.last = now;
    return {401, "Wrong password", {}, {}};
  }
  Result result;
  result.token = RandomToken();
  result.csrf = RandomToken();
  std::lock_guard lock(mutex_);
  failures_.erase(client);
  std::erase_if(sessions_, [now](const auto& entry) { return entry.second.ends <= now; });
  sessions_[result.token] = {result.csrf, now + kSessionLife};
  return result;
}

std::optional<std::string> WebLogins::CsrfOf(const std::string& token, Clock::time_point now) {
  if (token.empty()) {
    return std::nullopt;
  }
  std::lock_guard lock(mutex_);
  const auto found = sessions_.find(token);
  if (found == sessions_.end() || found->second.ends <= now) {
    return std::nullopt;
  }
  return found->second.csrf;
}

void WebLogins::Logout(const std::string& token) {
  std::lock_guard lock(mutex_);
  sessions_.erase(token);
}

std::string SessionCookie(const std::string& cookieHeader) {
  const std::string key = std::string(kCookieName) + "=";
  std::size_t at = 0;
  while (at < cookieHeader.size()) {
    while (at < cookieHeader.size() && (cookieHeader[at] == ' ' || cookieHeader[at] == ';')) {
      ++at;
    }
    const std::size_t end = std::min(cookieHeader.find(';', at), cookieHeader.size());
    if (cookieHeader.compare(at, key.size(), key) == 0) {
      return cookieHeader.substr(at + key.size(), end - at - key.size());
    }
    at = end;
  }
  return {};
}

std::string SessionCookieHeader(const std::string& token) {
  return std::string(kCookieName) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict" +
         (token.empty() ? "; Max-Age=0" : "");
}

}  // namespace vesk
