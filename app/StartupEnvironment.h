#pragma once
// Process-wide settings that must be in place before QApplication exists.

namespace ql::app {

// Chromium refuses to run its sandbox as root; only then is it turned off.
// Background traffic to outside hosts (updates, safe browsing, metrics) is
// switched off: the tool talks to the question-bank server only.
void prepareWebEngineEnvironment();

// Lets the HTTP client process pending Qt events while a request runs.
void installEventPump();

} // namespace ql::app
