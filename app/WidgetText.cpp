#include "app/WidgetText.h"

#include "text/CodePage.h"

namespace ql::app {

QString toQString(const Text& gbk)
{
    const std::u16string wide = gbkToWide(gbk.view());
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

Text toText(const QString& text)
{
    const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    return Text(wideToGbk(wide));
}

} // namespace ql::app
