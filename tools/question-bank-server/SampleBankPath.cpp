#include "SampleBankPath.h"

#include <filesystem>

namespace ql::qbank {

std::string sampleBankPath()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = program.parent_path() / QBS_SAMPLE_BANK_NAME;
        if (std::filesystem::exists(beside, error))
            return beside.string();
    }
    return QBS_SAMPLE_BANK_SOURCE;
}

}  // namespace ql::qbank
