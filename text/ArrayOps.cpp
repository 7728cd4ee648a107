#include "text/TextOps.h"

namespace ql {

int arrayCount(const TextArray& array)
{
    return static_cast<int>(array.size());
}

const Text& arrayMember(const TextArray& array, int k)
{
    // An index outside 1..count is the caller's defect; answering with the
    // empty text keeps it from reading outside the array.
    static const Text kNoMember;
    if (k < 1 || static_cast<std::size_t>(k) > array.size())
        return kNoMember;
    return array[static_cast<std::size_t>(k - 1)];
}

void arrayAppend(TextArray& array, const Text& text)
{
    array.push_back(text);
}

} // namespace ql
