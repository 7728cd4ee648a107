// textBetween and batchReplace on arbitrary GBK bytes, against reference
// versions built on the reference find and replace.

#include "FuzzInput.h"
#include "ReferenceText.h"
#include "text/Extraction.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ql;
    using namespace ql::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t options = input.byte();
    const bool foldCase = input.flag(options, 0);
    const bool limitReplacements = input.flag(options, 1);
    const int startPosition = input.smallInt();
    const int maxReplacements = input.smallInt();
    const Text leftMarker(input.field());
    const Text rightMarker(input.field());
    std::string pairs[10];
    for (std::string& part : pairs)
        part = Text(input.field()).str();
    const Text text(input.rest());

    const Text between = textBetween(text, leftMarker, rightMarker, startPosition, foldCase);
    FUZZ_CHECK(isZeroFree(between.view()));
    FUZZ_CHECK(between.view()
               == reference::textBetween(text.view(), leftMarker.view(), rightMarker.view(), startPosition,
                                         foldCase));
    FUZZ_CHECK(between.empty() || text.view().find(between.view()) != std::string_view::npos);

    const Text rewritten =
        batchReplace(text, maxReplacements, limitReplacements, startPosition, !foldCase, Text(pairs[0]),
                     Text(pairs[1]), Text(pairs[2]), Text(pairs[3]), Text(pairs[4]), Text(pairs[5]),
                     Text(pairs[6]), Text(pairs[7]), Text(pairs[8]), Text(pairs[9]));
    FUZZ_CHECK(isZeroFree(rewritten.view()));
    FUZZ_CHECK(rewritten.view()
               == reference::batchReplace(text.view(), maxReplacements, limitReplacements, startPosition,
                                          !foldCase, pairs));
    return 0;
}
