#pragma once

#include <string>

namespace ql::qbank {

// The sample bank copied beside the running program at build time, or, when it is not there
// (the program was copied elsewhere), the one in the source tree it was built from.
std::string sampleBankPath();

}  // namespace ql::qbank
