#pragma once
// The one place where GBK Text meets QString (UTF-16).

#include "text/Text.h"

#include <QString>

namespace ql::app {

QString toQString(const Text& gbk);
// Characters GBK cannot hold come out as '?', as the code page would give.
Text toText(const QString& text);

} // namespace ql::app
