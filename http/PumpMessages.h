#pragma once
// Lets pending window messages be processed while a request runs. The app
// installs the GUI toolkit's event pump; without a hook it does nothing.

#include <functional>

namespace ql::http {

void setPumpMessagesHook(std::function<void()> hook);
void pumpMessages();

} // namespace ql::http
