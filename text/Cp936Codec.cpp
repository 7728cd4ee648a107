#include "text/Cp936Codec.h"

#include "text/Cp936Tables.h"
#include "text/IcuConverter.h"

#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace ql {
namespace {

// Writes two bytes whatever the length (the buffer always has room for
// them); the caller advances by the length.
std::size_t putEncoded(std::uint16_t bytes, char* target)
{
    target[0] = static_cast<char>(bytes & 0xFF);
    target[1] = static_cast<char>(bytes >> 8);
    return bytes > 0xFF ? 2 : 1;
}

// Where decoded units go: a wide string, or UTF-16LE bytes.
// Each keeps a plain pointer to its storage: a pointer held in a local
// object is not reloaded after every byte store, as a string's would be.
class WideSink {
public:
    explicit WideSink(std::u16string& out) : out_(out), units_(out.data()) {}
    std::size_t size() const { return out_.size(); }
    void resize(std::size_t units)
    {
        out_.resize(units);
        units_ = out_.data();
    }
    void put(std::size_t k, char16_t unit) { units_[k] = unit; }

private:
    std::u16string& out_;
    char16_t* units_;
};

class LittleEndianSink {
public:
    explicit LittleEndianSink(std::string& out)
        : out_(out), start_(out.size()), bytes_(out.data() + start_)
    {
    }
    std::size_t size() const { return (out_.size() - start_) / 2; }
    void resize(std::size_t units)
    {
        out_.resize(start_ + 2 * units);
        bytes_ = out_.data() + start_;
    }
    void put(std::size_t k, char16_t unit)
    {
        bytes_[2 * k] = static_cast<char>(unit & 0xFF);
        bytes_[2 * k + 1] = static_cast<char>(unit >> 8);
    }

private:
    std::string& out_;
    std::size_t start_;
    char* bytes_;
};

template <typename Sink>
void decodeBytes(std::string_view bytes, Sink sink, std::vector<std::int32_t>* offsets)
{
    const Cp936Tables& tables = cp936Tables();
    const auto* input = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // A byte never yields more than one unit, except in the rare sequences
    // decoded through ICU, which grow the buffers themselves.
    const char16_t* const doubleByte = tables.doubleByte.data();
    std::size_t written = sink.size();
    sink.resize(written + size);
    std::int32_t* offsetAt = nullptr;
    if (offsets) {
        offsets->resize(written + size);
        offsetAt = offsets->data();
    }

    std::u16string piece;
    std::vector<std::int32_t> pieceOffsets;
    std::size_t i = 0;
    while (i < size) {
        const unsigned byte = input[i];
        char16_t unit = kDecodeThroughIcu;
        std::size_t length = 1;
        if (byte < 0x80) {
            unit = static_cast<char16_t>(byte);
        } else if (!tables.isLeadByte[byte]) {
            unit = tables.singleByte[byte];
        } else if (i + 1 < size) {
            unit = doubleByte[(byte - 0x80) * 256 + input[i + 1]];
            length = 2;
        }
        if (byte < 0x80 || unit != kDecodeThroughIcu) {
            sink.put(written, unit);
            if (offsetAt)
                offsetAt[written] = static_cast<std::int32_t>(i);
            ++written;
            i += length;
            continue;
        }
        // Invalid, unassigned or cut-off sequences: ICU decides how many
        // bytes they take and what they become.
        piece.clear();
        pieceOffsets.clear();
        appendDecoded(threadCp936Converter(), bytes.substr(i, length), piece,
                      offsets ? &pieceOffsets : nullptr, static_cast<std::int32_t>(i));
        if (written + piece.size() + (size - i) > sink.size()) {
            sink.resize(written + piece.size() + (size - i));
            if (offsets) {
                offsets->resize(sink.size());
                offsetAt = offsets->data();
            }
        }
        for (std::size_t k = 0; k < piece.size(); ++k) {
            sink.put(written + k, piece[k]);
            if (offsetAt)
                offsetAt[written + k] = pieceOffsets[k];
        }
        written += piece.size();
        i += length;
    }
    sink.resize(written);
    if (offsets)
        offsets->resize(written);
}

} // namespace

void appendCp936Decoded(std::string_view bytes, std::u16string& out,
                        std::vector<std::int32_t>* offsets)
{
    decodeBytes(bytes, WideSink(out), offsets);
}

void appendCp936DecodedUtf16le(std::string_view bytes, std::string& out)
{
    decodeBytes(bytes, LittleEndianSink(out), nullptr);
}

namespace {

// UTF-16LE units read straight from their bytes.
class LittleEndianUnits {
public:
    explicit LittleEndianUnits(std::string_view bytes)
        : bytes_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size() / 2)
    {
    }
    std::size_t size() const { return size_; }
    char16_t operator[](std::size_t k) const
    {
        if constexpr (std::endian::native == std::endian::little) {
            char16_t unit;
            std::memcpy(&unit, bytes_ + 2 * k, sizeof unit);
            return unit;
        }
        return static_cast<char16_t>(bytes_[2 * k] | bytes_[2 * k + 1] << 8);
    }

private:
    const unsigned char* bytes_;
    std::size_t size_;
};

// One pass over the units. Composition looks backwards: when a unit that
// may join its predecessor comes up and that predecessor was encoded on its
// own, the two are replaced by the precomposed character if code page 936
// maps it. This equals a forward pass over (base, next) pairs that skips
// both units of a pair it composes.
template <typename Units>
void encodeUnits(const Units& units, Composition composition, bool stopAtZeroUnit,
                 std::string& out)
{
    const Cp936Tables& tables = cp936Tables();
    const bool compose = composition == Composition::pairwise && tables.nfc;
    // Plain pointers, which byte stores cannot invalidate for the compiler.
    const std::uint16_t* const table =
        compose ? tables.encodedComposing.data() : tables.encoded.data();
    const std::uint16_t* const alone = tables.encoded.data();
    const std::size_t size = units.size();
    // A unit never yields more than two bytes, so the two bytes putEncoded
    // writes always fit.
    const std::size_t start = out.size();
    out.resize(start + 2 * size);
    char* target = out.data();
    std::size_t written = start;

    std::string piece;
    // Units before this index were not encoded on their own (the second of
    // a composed pair, surrogates).
    std::size_t aloneFrom = 0;
    std::size_t i = 0;
    for (; i < size; ++i) {
        const char16_t unit = units[i];
        std::uint16_t bytes = table[unit];
        if (!isEncodingMarker(bytes)) {
            written += putEncoded(bytes, target + written);
            continue;
        }
        if (bytes == kZeroUnit) {
            if (stopAtZeroUnit)
                break;
            target[written++] = '\0';
            continue;
        }
        if (bytes == kMayCompose) {
            bytes = alone[unit];
            if (i > aloneFrom) {
                const std::uint16_t previous = alone[units[i - 1]];
                const UChar32 composed = unorm2_composePair(tables.nfc, units[i - 1], unit);
                if (composed >= 0 && composed < static_cast<UChar32>(kBmpSize)
                    && tables.mapped[composed] && !isEncodingMarker(alone[composed])) {
                    written -= previous > 0xFF ? 2 : 1;
                    written += putEncoded(alone[composed], target + written);
                    aloneFrom = i + 1;
                    continue;
                }
            }
            written += putEncoded(bytes, target + written);
            continue;
        }
        // Surrogates, the only units without a table entry: a pair is one
        // character to ICU, a lone one is illegal.
        const char16_t pair[2] = {unit, i + 1 < size ? units[i + 1] : u'\0'};
        const std::size_t length = U16_IS_LEAD(unit) && U16_IS_TRAIL(pair[1]) ? 2 : 1;
        piece.clear();
        appendEncoded(threadCp936Converter(), {pair, length}, piece);
        if (written + piece.size() + 2 * (size - i - length) > out.size()) {
            out.resize(written + piece.size() + 2 * (size - i - length));
            target = out.data();
        }
        std::copy(piece.begin(), piece.end(), target + written);
        written += piece.size();
        i += length - 1;
        aloneFrom = i + 1;
    }
    out.resize(written);
}

} // namespace

void appendCp936Encoded(std::u16string_view units, Composition composition, std::string& out)
{
    encodeUnits(units, composition, false, out);
}

void appendCp936EncodedUtf16le(std::string_view data, Composition composition, std::string& out)
{
    encodeUnits(LittleEndianUnits(data), composition, true, out);
}

bool hasCp936Mapping(UChar32 c)
{
    return c >= 0 && c < static_cast<UChar32>(kBmpSize) && cp936Tables().mapped[c];
}

} // namespace ql
