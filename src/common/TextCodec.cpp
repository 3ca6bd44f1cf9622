#include "common/TextCodec.h"

#include "common/Cp1250.h"

namespace zorvek {

QString FromCp1250(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(Cp1250ToUtf16(static_cast<unsigned char>(byte)));
    return text;
}

std::string ToCp1250(const QString& text)
{
    // QString holds UTF-16 already.
    return Utf16ToCp1250(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())));
}

} // namespace zorvek
