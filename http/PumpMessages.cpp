#include "http/PumpMessages.h"

#include <utility>

namespace ql::http {

namespace {
std::function<void()>& hook()
{
    static std::function<void()> installed;
    return installed;
}
} // namespace

void setPumpMessagesHook(std::function<void()> newHook) { hook() = std::move(newHook); }

void pumpMessages()
{
    if (hook())
        hook()();
}

} // namespace ql::http
