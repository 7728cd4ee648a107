#pragma once
// The six stored question ids: slot k (1 to 6) holds the id that the last
// search reaching result row k found, and answer button k opens it. Slots
// start empty and are never cleared; only a search writes them.

#include "text/Text.h"

#include <array>

namespace ql::lookup {

class QuestionIds {
public:
    static constexpr int kSlotCount = 6;

    static constexpr bool isSlot(int k) { return k >= 1 && k <= kSlotCount; }

    // k runs from 1 to kSlotCount; any other k reads as an empty slot.
    const Text& slot(int k) const
    {
        static const Text none;
        return isSlot(k) ? slots_[static_cast<std::size_t>(k - 1)] : none;
    }
    // Storing to a k outside 1 to kSlotCount does nothing.
    void store(int k, Text id)
    {
        if (isSlot(k))
            slots_[static_cast<std::size_t>(k - 1)] = std::move(id);
    }

private:
    std::array<Text, kSlotCount> slots_;
};

} // namespace ql::lookup
