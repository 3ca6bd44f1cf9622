#include "common/TextCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>

#include <QList>
#include <QSysInfo>

namespace zorvek {

namespace {

// glibc's iconv knows Windows-1250; each conversion opens its own descriptor, so
// the function stays reentrant. The descriptor is closed on every path.
class Iconv
{
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input; a sequence the target lacks is replaced by `replacement`
    // and the input byte (or character) skipped.
    std::string convert(std::string_view input, std::string_view replacement, std::size_t skip) const
    {
        std::string out;
        out.reserve(input.size() * 2);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                out.append(replacement);
                const std::size_t n = std::min(skip, inLeft);
                in += n;
                inLeft -= n;
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
};

// Windows-1250 has one character per byte and no state: glibc's converter is asked
// once for each of the 256 bytes, and the texts are then decoded by lookup. The five
// undefined bytes give U+FFFD; without the converter the bytes are read as Latin-1.
std::array<char16_t, 256> buildCp1250Table()
{
    std::array<char16_t, 256> table{};
    const Iconv cd("UTF-16LE", "WINDOWS-1250");
    for (int b = 0; b < 256; ++b) {
        char16_t unit = static_cast<char16_t>(b);
        if (cd.valid()) {
            const char byte = static_cast<char>(b);
            const std::string utf16 =
                cd.convert(std::string_view(&byte, 1), std::string_view("\xFD\xFF", 2), 1);
            unit = utf16.size() == 2 ? static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) |
                                                             (static_cast<unsigned char>(utf16[1]) << 8))
                                     : u'\uFFFD';
        }
        table[static_cast<std::size_t>(b)] = unit;
    }
    return table;
}

} // namespace

QString FromCp1250(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    static const std::array<char16_t, 256> table = buildCp1250Table();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    return text;
}

std::string ToCp1250(const QString& text)
{
    if (text.isEmpty())
        return {};
    // Fixed-width UTF-32 lets a character the code page lacks be skipped as a whole.
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    const Iconv cd("WINDOWS-1250", QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-32LE" : "UTF-32BE");
    if (!cd.valid())
        return text.toLatin1().toStdString();
    return cd.convert(std::string_view(utf32.constData(), static_cast<std::size_t>(utf32.size())), "?", 4);
}

} // namespace zorvek
