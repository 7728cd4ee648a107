#pragma once
// The three value types every subsystem works with:
//  - Text: the bytes of a GBK string; it can never hold a zero byte.
//  - Bytes: a byte buffer of explicit length; zero bytes allowed.
//  - TextArray: an ordered list of Text, numbered from 1.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

class Text {
public:
    Text() = default;
    // A Text ends at its first zero byte, like the C string it stands for:
    // whatever follows a zero byte in the input is not part of it.
    Text(const char* cString) : bytes_(cString ? cString : "") {}
    explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
    explicit Text(std::string&& bytes) : bytes_(std::move(bytes))
    {
        if (auto nul = bytes_.find('\0'); nul != std::string::npos)
            bytes_.resize(nul);
    }

    std::string_view view() const { return bytes_; }
    const std::string& str() const { return bytes_; }
    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }

    friend bool operator==(const Text&, const Text&) = default;

private:
    std::string bytes_;
};

class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::string bytes) : bytes_(std::move(bytes)) {}
    Bytes(const void* data, std::size_t size) : bytes_(static_cast<const char*>(data), size) {}

    std::string_view view() const { return bytes_; }
    const std::string& str() const { return bytes_; }
    const char* data() const { return bytes_.data(); }
    char* data() { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    void append(std::string_view more) { bytes_.append(more); }
    // New bytes are zero.
    void resize(std::size_t size) { bytes_.resize(size); }
    // Hands the storage over without copying it.
    std::string release() && { return std::move(bytes_); }

    friend bool operator==(const Bytes&, const Bytes&) = default;

private:
    std::string bytes_;
};

using TextArray = std::vector<Text>;

} // namespace ql
