#pragma once
// One owner for each PCRE2 handle the regex engine uses, in the library's
// 16-bit code unit width. Nothing else calls the PCRE2 free functions.

#ifndef PCRE2_CODE_UNIT_WIDTH
#define PCRE2_CODE_UNIT_WIDTH 16
#endif
#include <pcre2.h>

#include <utility>

namespace ql::regex_detail {

template <typename Handle, void (*release)(Handle*)>
class Pcre2Handle {
public:
    explicit Pcre2Handle(Handle* handle) noexcept : handle_(handle) {}
    ~Pcre2Handle() { release(handle_); } // the PCRE2 free functions accept null

    Pcre2Handle(const Pcre2Handle&) = delete;
    Pcre2Handle& operator=(const Pcre2Handle&) = delete;
    Pcre2Handle(Pcre2Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Pcre2Handle& operator=(Pcre2Handle&&) = delete;

    Handle* get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

private:
    Handle* handle_;
};

using CompileContext = Pcre2Handle<pcre2_compile_context_16, pcre2_compile_context_free_16>;
using CompiledPattern = Pcre2Handle<pcre2_code_16, pcre2_code_free_16>;
using MatchContext = Pcre2Handle<pcre2_match_context_16, pcre2_match_context_free_16>;
using MatchData = Pcre2Handle<pcre2_match_data_16, pcre2_match_data_free_16>;

} // namespace ql::regex_detail
