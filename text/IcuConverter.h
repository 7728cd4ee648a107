#pragma once
// The ICU converters behind the code page conversions, each held by one
// owner and opened once per thread: opening a converter costs far more than
// converting a short text.

#include <unicode/ucnv.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

class IcuConverter {
public:
    IcuConverter() = default;
    explicit IcuConverter(const char* name);
    ~IcuConverter();
    IcuConverter(const IcuConverter&) = delete;
    IcuConverter& operator=(const IcuConverter&) = delete;
    IcuConverter(IcuConverter&& other) noexcept;
    IcuConverter& operator=(IcuConverter&& other) noexcept;

    // Null when ICU could not open the converter.
    UConverter* get() const { return converter_; }

private:
    UConverter* converter_ = nullptr;
};

// Code page 936 the way the platform converts it: '?' for invalid bytes and
// for characters without a mapping, best-fit mappings when encoding.
IcuConverter openCp936Converter();

// This thread's code page 936 converter (configured as above) and its
// UTF-8 converter (ICU's default callbacks: U+FFFD per maximal subpart).
UConverter* threadCp936Converter();
UConverter* threadUtf8Converter();

// Decodes all of `bytes` as one complete input (flushing at its end) and
// appends the units to `out`. When `offsets` is given it receives, per unit,
// `base` plus the offset in `bytes` of the sequence it came from. A null
// converter yields one '?' per byte.
void appendDecoded(UConverter* converter, std::string_view bytes, std::u16string& out,
                   std::vector<std::int32_t>* offsets = nullptr, std::int32_t base = 0);

// Encodes all of `units` as one complete input and appends the bytes to
// `out`. A null converter yields one '?' per unit.
void appendEncoded(UConverter* converter, std::u16string_view units, std::string& out);

} // namespace ql
