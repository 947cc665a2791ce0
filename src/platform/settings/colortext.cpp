#include "platform/settings/colortext.h"

#include <array>

namespace Brelvan {

namespace {

struct NamedColor
{
    const char *name;
    quint32 value;   // $00BBGGRR
};

// The standard colours, in the order their names are preferred when writing.
constexpr std::array<NamedColor, 20> standardColors{{
    {"clBlack", 0x000000},     {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},   {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},
}};

// Names read but never written: aliases and the "no colour" values.
constexpr std::array<NamedColor, 4> otherNames{{
    {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},
    {"clNone", 0xFFFFFF}, {"clDefault", 0xFFFFFF},
}};

// System colours, $FF0000nn, with the colours of a default Windows desktop.
struct SystemColor
{
    const char *name;
    int index;
    quint32 rgb;   // $RRGGBB
};

constexpr std::array<SystemColor, 30> systemColors{{
    {"clScrollBar", 0, 0xC8C8C8},          {"clBackground", 1, 0x000000},
    {"clActiveCaption", 2, 0x99B4D1},      {"clInactiveCaption", 3, 0xBFCDDB},
    {"clMenu", 4, 0xF0F0F0},               {"clWindow", 5, 0xFFFFFF},
    {"clWindowFrame", 6, 0x646464},        {"clMenuText", 7, 0x000000},
    {"clWindowText", 8, 0x000000},         {"clCaptionText", 9, 0x000000},
    {"clActiveBorder", 10, 0xB4B4B4},      {"clInactiveBorder", 11, 0xF4F7FC},
    {"clAppWorkSpace", 12, 0xABABAB},      {"clHighlight", 13, 0x0078D7},
    {"clHighlightText", 14, 0xFFFFFF},     {"clBtnFace", 15, 0xF0F0F0},
    {"clBtnShadow", 16, 0xA0A0A0},         {"clGrayText", 17, 0x6D6D6D},
    {"clBtnText", 18, 0x000000},           {"clInactiveCaptionText", 19, 0x000000},
    {"clBtnHighlight", 20, 0xFFFFFF},      {"cl3DDkShadow", 21, 0x696969},
    {"cl3DLight", 22, 0xE3E3E3},           {"clInfoText", 23, 0x000000},
    {"clInfoBk", 24, 0xFFFFE1},            {"clHotLight", 26, 0x0066CC},
    {"clGradientActiveCaption", 27, 0xB9D1EA},
    {"clGradientInactiveCaption", 28, 0xD7E4F2},
    {"clMenuHighlight", 29, 0x3399FF},     {"clMenuBar", 30, 0xF0F0F0},
}};

QColor fromBgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::optional<QColor> fromNumber(quint32 value)
{
    if ((value >> 24) == 0xFF) {
        const int index = int(value & 0xFF);
        for (const SystemColor &c : systemColors) {
            if (c.index == index)
                return QColor::fromRgb(QRgb(0xFF000000u | c.rgb));
        }
        return std::nullopt;
    }
    if (value == 0x1FFFFFFF || value == 0x20000000)   // clNone, clDefault
        return QColor(Qt::white);
    return fromBgr(value & 0xFFFFFF);
}

} // namespace

std::optional<QColor> colorFromText(const QString &input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (const NamedColor &c : standardColors) {
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return fromBgr(c.value);
    }
    for (const NamedColor &c : otherNames) {
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return fromBgr(c.value);
    }
    for (const SystemColor &c : systemColors) {
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return QColor::fromRgb(QRgb(0xFF000000u | c.rgb));
    }
    // Numbers as Delphi reads them: "$" or "0x" hexadecimal, else decimal, maybe negative
    // (system colours written as signed numbers).
    bool ok = false;
    qint64 number = 0;
    if (text.startsWith(u'$'))
        number = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = text.mid(2).toLongLong(&ok, 16);
    else
        number = text.toLongLong(&ok, 10);
    if (!ok || number < -2147483648LL || number > 0xFFFFFFFFLL)
        return std::nullopt;
    return fromNumber(quint32(number));
}

QColor colorFromText(const QString &text, const QColor &fallback)
{
    return colorFromText(text).value_or(fallback);
}

QString colorToText(const QColor &color)
{
    const QColor c = color.toRgb();
    const quint32 bgr = quint32(c.red()) | (quint32(c.green()) << 8)
                        | (quint32(c.blue()) << 16);
    for (const NamedColor &n : standardColors) {
        if (n.value == bgr)
            return QLatin1String(n.name);
    }
    return QStringLiteral("$%1").arg(bgr, 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace Brelvan
