#pragma once
// Table-driven tests name each case after its `name` field, both in the test
// name and in failure output (struct cases declare PrintTo the same way).

#include <gtest/gtest.h>

#include <string>

namespace ql {

struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};

} // namespace ql
