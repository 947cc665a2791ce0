#include "platform/settings/linetext.h"

#include <QIODevice>
#include <QStringDecoder>

namespace Brelvan {

namespace {

// 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t high1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(high1252[b - 0x80]) : QChar(b));
    }
    return text;
}

QString decodeLine(const QByteArray &bytes, bool *wasUtf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    const bool utf8 = !decoder.hasError();
    if (wasUtf8)
        *wasUtf8 = utf8;
    return utf8 ? text : fromWindows1252(bytes);
}

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace Brelvan
