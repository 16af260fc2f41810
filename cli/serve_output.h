#pragma once

#include <string>

#include "common/datetime.h"

namespace vesk {
class ThreadRequest;
struct IdentityState;
}  // namespace vesk

namespace vesk::cli {

// The line vesk-cli serve prints for its poll number `poll`, ended at `when`: the log's time
// stamp and "Poll N: " with the readings the model measures, or the failure text. Ends with a
// newline.
std::string ServePollText(long long poll, TDateTime when, const IdentityState& identity,
                          const ThreadRequest& worker);

// One JSON object on one line: Date (the history's day count), Poll, then the fields of
// `vesk-cli poll --json`, or ErrorMes for a failed poll.
std::string ServePollJson(long long poll, TDateTime when, const ThreadRequest& worker);

}  // namespace vesk::cli
