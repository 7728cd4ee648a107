#pragma once

#include <httplib.h>

namespace ql::qbank {

// Makes binding fail on a port that another socket listens on. The library's default sets
// SO_REUSEPORT, which lets a second server share a port in use instead of reporting it taken.
// SO_REUSEADDR is kept so that a restart need not wait for old connections to time out.
void useExclusivePort(httplib::Server& server);

}  // namespace ql::qbank
