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

    // k runs from 1 to kSlotCount; callers pass a row number they own.
    const Text& slot(int k) const { return slots_.at(static_cast<std::size_t>(k - 1)); }
    void store(int k, Text id) { slots_.at(static_cast<std::size_t>(k - 1)) = std::move(id); }

private:
    std::array<Text, kSlotCount> slots_;
};

} // namespace ql::lookup
