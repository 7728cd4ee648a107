#pragma once
// One question of the bank, as a bank file line describes it.

#include <cstdint>
#include <string>
#include <vector>

namespace ql::qbank {

struct Question {
    std::int64_t id = 0;
    std::string type;    // "single", "multiple", "truefalse" or "fill"
    std::string subject;
    std::string question;
    std::vector<std::string> options;
    std::string answer;
    std::string explanation;
};

}  // namespace ql::qbank
