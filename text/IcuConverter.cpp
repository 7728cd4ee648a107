#include "text/IcuConverter.h"

#include <unicode/ucnv_cb.h>

#include <utility>

namespace ql {
namespace {

bool isConversionError(UConverterCallbackReason reason)
{
    return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

// The platform decodes invalid code page 936 input to U+003F where ICU
// would write U+FFFD.
void U_CALLCONV writeQuestionMarkUnit(const void*, UConverterToUnicodeArgs* args, const char*,
                                      int32_t, UConverterCallbackReason reason, UErrorCode* status)
{
    if (!isConversionError(reason))
        return;
    *status = U_ZERO_ERROR;
    const UChar questionMark = u'?';
    ucnv_cbToUWriteUChars(args, &questionMark, 1, 0, status);
}

// ICU's own substitution silently drops default-ignorable code points
// (U+200B, U+FEFF, ...); the platform writes '?' for those as well.
void U_CALLCONV writeQuestionMarkByte(const void*, UConverterFromUnicodeArgs* args, const UChar*,
                                      int32_t, UChar32, UConverterCallbackReason reason,
                                      UErrorCode* status)
{
    if (!isConversionError(reason))
        return;
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, status);
}

} // namespace

IcuConverter::IcuConverter(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    converter_ = ucnv_open(name, &status);
    if (U_FAILURE(status))
        converter_ = nullptr;
}

IcuConverter::~IcuConverter()
{
    if (converter_)
        ucnv_close(converter_);
}

IcuConverter::IcuConverter(IcuConverter&& other) noexcept
    : converter_(std::exchange(other.converter_, nullptr))
{
}

IcuConverter& IcuConverter::operator=(IcuConverter&& other) noexcept
{
    if (this != &other) {
        if (converter_)
            ucnv_close(converter_);
        converter_ = std::exchange(other.converter_, nullptr);
    }
    return *this;
}

IcuConverter openCp936Converter()
{
    // windows-936-2000 decodes every sequence the platform's table defines
    // exactly as the platform does; with fallbacks on it also encodes the
    // platform's best-fit mappings.
    IcuConverter converter("windows-936-2000");
    if (UConverter* cnv = converter.get()) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_setFallback(cnv, true);
        ucnv_setToUCallBack(cnv, writeQuestionMarkUnit, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(cnv, writeQuestionMarkByte, nullptr, nullptr, nullptr, &status);
        if (U_FAILURE(status))
            return IcuConverter();
    }
    return converter;
}

UConverter* threadCp936Converter()
{
    thread_local const IcuConverter converter = openCp936Converter();
    return converter.get();
}

UConverter* threadUtf8Converter()
{
    thread_local const IcuConverter converter("UTF-8");
    return converter.get();
}

void appendDecoded(UConverter* converter, std::string_view bytes, std::u16string& out,
                   std::vector<std::int32_t>* offsets, std::int32_t base)
{
    if (offsets)
        offsets->resize(out.size());
    if (!converter) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out.push_back(u'?');
            if (offsets)
                offsets->push_back(base + static_cast<std::int32_t>(i));
        }
        return;
    }
    ucnv_resetToUnicode(converter);
    const char* source = bytes.data();
    const char* const sourceLimit = source + bytes.size();
    UErrorCode status = U_ZERO_ERROR;
    do {
        // Every byte yields at most one unit; the slack covers a converter
        // that writes more for a sequence (the loop resumes if it is short).
        const std::size_t used = out.size();
        const std::size_t room = static_cast<std::size_t>(sourceLimit - source) + 8;
        out.resize(used + room);
        if (offsets)
            offsets->resize(used + room);
        UChar* const targetStart = out.data() + used;
        UChar* target = targetStart;
        const auto consumed = static_cast<std::int32_t>(source - bytes.data());
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, targetStart + room, &source, sourceLimit,
                       offsets ? offsets->data() + used : nullptr, true, &status);
        const auto produced = static_cast<std::size_t>(target - targetStart);
        out.resize(used + produced);
        if (offsets) {
            offsets->resize(used + produced);
            for (std::size_t k = used; k < used + produced; ++k)
                (*offsets)[k] += base + consumed;
        }
    } while (status == U_BUFFER_OVERFLOW_ERROR);
}

void appendEncoded(UConverter* converter, std::u16string_view units, std::string& out)
{
    if (!converter) {
        out.append(units.size(), '?');
        return;
    }
    ucnv_resetFromUnicode(converter);
    const UChar* source = units.data();
    const UChar* const sourceLimit = source + units.size();
    UErrorCode status = U_ZERO_ERROR;
    do {
        // Three bytes per unit is the most UTF-8 needs; code page 936 needs two.
        const std::size_t used = out.size();
        const std::size_t room = static_cast<std::size_t>(sourceLimit - source) * 3 + 8;
        out.resize(used + room);
        char* const targetStart = out.data() + used;
        char* target = targetStart;
        status = U_ZERO_ERROR;
        ucnv_fromUnicode(converter, &target, targetStart + room, &source, sourceLimit, nullptr,
                         true, &status);
        out.resize(used + static_cast<std::size_t>(target - targetStart));
    } while (status == U_BUFFER_OVERFLOW_ERROR);
}

} // namespace ql
