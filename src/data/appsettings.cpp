#include "data/appsettings.h"

#include "platform/settings/colortext.h"
#include "platform/settings/fonttext.h"
#include "platform/settings/inifile.h"
#include "platform/settings/userstore.h"

#include <array>

namespace Brelvan {

namespace {

const QString FontSection = QStringLiteral("Font");
const QString DetailSection = QStringLiteral("Detail");
const QString TaxFree = QStringLiteral("Tax Free");

enum Writer : unsigned { None = 0, Close = 1, Configuration = 2, Taxation = 4 };

struct IniKey
{
    const char *key;
    const char *def;
    unsigned writers;
};

constexpr IniKey fontKeys[] = {
    {"CompanyFont", "Arial", Close},    {"CompanySize", "10", Close},
    {"CompanyColor", "clBlue", Close},  {"CompanyFontStyle", "0", Close},
    {"OthersFont", "Arial", Close},     {"OthersSize", "10", Close},
    {"OthersColor", "clBlack", Close},  {"OthersFontStyle", "0", Close},
};

// Section Detail in the order it is read.
constexpr IniKey detailTable[] = {
    {"ABN", "Tax TIN or ABN", Close},
    {"ApplyRate", "10", Close},
    {"Drive", "D", Close},
    {"Company", "Your Company", Close},
    {"DataStr", "", Close},
    {"DateFormat", "dd/mm/yyyy", Close | Configuration},
    {"E1", "", Configuration},
    {"E2", "", Configuration},
    {"E3", "60%", Configuration},
    {"E4", "40%", Configuration},
    {"E5", "20%", Configuration},
    {"E6", "", Configuration},
    {"E7", "Tax Free", Configuration},
    {"FindStr", "", Close},
    {"FiscalYr", "Cal", Configuration},
    {"FolderStr", "C:\\", Close},
    {"Health", "PhilHealth", Configuration},
    {"I1", "", Configuration},
    {"I2", "", Configuration},
    {"I3", "", Configuration},
    {"I4", "", Configuration},
    {"I5", "Tax Free", Configuration},
    // The table server of remote mode, on the office's own network.
    {"IPaddr", "192.168.1.10", Close},
    {"Levy", "Levy", Configuration},
    {"Alpha", "Alpha", Configuration},
    {"Number", "Number", Configuration},
    {"Money", "Money", Configuration},
    {"PeriodPaid", "2", Close},
    {"Period", "3", Configuration},
    {"Pix", "Yes", Close},
    {"ReplaceStr", "", Close},
    {"Super", "Super", Configuration},
    {"TaxRate", "20", None},
    {"TaxFileNo", "TaxFileNo", Configuration},
    {"TIN/ABN#", "TIN", Close | Configuration},
    {"VAT", "VatStr", Configuration},
    {"Expense%1", "100", Taxation},
    {"Expense%2", "80", Taxation},
    {"Expense%3", "60", Taxation},
    {"Expense%4", "40", Taxation},
    {"Expense%5", "20", Taxation},
    {"Expense%6", "100", Taxation},
    {"Expense%7", "0", Taxation},
    {"Expense%Office", "100", Taxation},
    {"Expense%Other", "50", Taxation},
    {"Expense%Phone", "80", Taxation},
    {"Income%1", "100", Taxation},
    {"Income%2", "100", Taxation},
    {"Income%3", "100", Taxation},
    {"Income%4", "100", Taxation},
    {"Income%5", "0", Taxation},
    {"Income%Interest", "100", Taxation},
    {"Income%Salary", "100", Taxation},
};

// The configuration window's keys in the order it writes them.
const QStringList configurationKeys{
    QStringLiteral("DateFormat"), QStringLiteral("E1"), QStringLiteral("E2"),
    QStringLiteral("E3"), QStringLiteral("E4"), QStringLiteral("E5"), QStringLiteral("E6"),
    QStringLiteral("E7"), QStringLiteral("FiscalYr"), QStringLiteral("Health"),
    QStringLiteral("I1"), QStringLiteral("I2"), QStringLiteral("I3"), QStringLiteral("I4"),
    QStringLiteral("I5"), QStringLiteral("Alpha"), QStringLiteral("Number"),
    QStringLiteral("Money"), QStringLiteral("Levy"), QStringLiteral("Period"),
    QStringLiteral("Super"), QStringLiteral("TaxFileNo"), QStringLiteral("TIN/ABN#"),
    // VAT is written under this spelling; names are not case sensitive.
    QStringLiteral("Vat"),
};

struct StoreValue
{
    const char *name;
    const char *fallback;   // after a failed read
};

// Values bound to the Office and page boxes, read at start and written at the end.
constexpr std::array<StoreValue, 19> boxValues{{
    {"NameStr", "Your Name"},
    {"CoDetStr", "Trading Name and Co #  eg Smith & Sons Painting Pty Ltd  ACN 123 456 789"},
    {"Addr1Str", "Primary (Postal) Address  eg. PO Box 123,"},
    {"Addr2Str", "Secondary (St) Address, (if desired)"},
    {"Addr3Str", "Town."},
    {"Addr4Str", "State."},
    {"Addr5Str", "Nation / Postcode."},
    {"Addr6Str", "Suburb."},
    {"HPhoneStr", "Home Phone #"},
    {"WPhoneStr", "Work Phone"},
    {"MPhoneStr", "Cell Phone #"},
    {"FaxStr", "Fax No"},
    {"EmailStr", "yourname@example.com"},
    {"WebStr", "Web Address"},
    {"LicStr", ""},
    {"ServicesStr", "On Bus Cards : Your Business"},
    {"AwardStr", "15"},
    {"CasRateStr", "20"},
    {"PFlagStr", "10"},
}};

// Held values read at start and written at the end; MateStr's fallback is made at run time.
constexpr std::array<StoreValue, 4> heldValues{{
    {"EntryStr", ""},
    {"MateStr", ""},
    {"PixStr", "Yes"},
    {"QdayStr", "90"},
}};

constexpr std::array<StoreValue, 8> configurationValues{{
    {"I6Str", "Supplied"},
    {"I7Str", "Sales"},
    {"I8Str", "Sale"},
    {"I9Str", "50"},
    {"R1Str", "Payable upon reciept of invoice  -  No Statement will be issued."},
    {"R2Str", "Thankyou for this payment."},
    {"R3Str", "Payment is now overdue."},
    {"SuperFundStr", "SuperFund"},
}};

struct ColourValue
{
    const char *name;
    const char *whenEmpty;
    const char *fallback;
};

constexpr std::array<ColourValue, 4> colourValues{{
    {"Grad1Str", "16711680", "clBlue"},
    {"Grad2Str", "65280", "clLime"},
    {"Grad3Str", "$00BBFFFF", "$00BBFFFF"},
    {"Grad4Str", "$00FF9191", "$00FF9191"},
}};

// Business-card fonts: an empty value takes the default, as does a failed read.
constexpr std::array<StoreValue, 8> cardFontValues{{
    {"OwnerNameColorStr", "clBlue"},
    {"OwnerNameFontStr", "Arial"},
    {"OwnerNameFontStyleStr", "1"},
    {"OwnerNameSizeStr", "14"},
    {"ServicesColorStr", "clGreen"},
    {"ServicesFontStr", "Arial"},
    {"ServicesFontStyleStr", "3"},
    {"ServicesSizeStr", "10"},
}};

// The saved quote; the first four are also read at start.
const QStringList quoteValues{
    QStringLiteral("Lrate"), QStringLiteral("Lmarg"), QStringLiteral("OHmarg"),
    QStringLiteral("Pmarg"), QStringLiteral("Lhrs"),  QStringLiteral("C1"),
    QStringLiteral("C2"),    QStringLiteral("C3"),    QStringLiteral("C4"),
    QStringLiteral("Sun1"),  QStringLiteral("Sun2"),  QStringLiteral("SunE1"),
    QStringLiteral("SunE2"),
};
constexpr int quoteValuesReadAtStart = 4;

struct FontKeys
{
    const char *name;
    const char *size;
    const char *color;
    const char *style;
};

FontKeys fontKeysOf(FontRole role)
{
    switch (role) {
    case FontRole::Company:
        return {"CompanyFont", "CompanySize", "CompanyColor", "CompanyFontStyle"};
    case FontRole::Others:
        return {"OthersFont", "OthersSize", "OthersColor", "OthersFontStyle"};
    case FontRole::OwnerName:
        return {"OwnerNameFontStr", "OwnerNameSizeStr", "OwnerNameColorStr",
                "OwnerNameFontStyleStr"};
    case FontRole::Services:
        return {"ServicesFontStr", "ServicesSizeStr", "ServicesColorStr",
                "ServicesFontStyleStr"};
    }
    return {};
}

QString defaultOf(const QString &key)
{
    for (const IniKey &k : fontKeys) {
        if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
            return QLatin1String(k.def);
    }
    for (const IniKey &k : detailTable) {
        if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(k.def);
    }
    for (const StoreValue &v : cardFontValues) {
        if (key.compare(QLatin1String(v.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(v.fallback);
    }
    for (const ColourValue &v : colourValues) {
        if (key.compare(QLatin1String(v.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(v.whenEmpty);
    }
    return {};
}

QStringList keysWrittenBy(unsigned writer)
{
    QStringList keys;
    for (const IniKey &k : detailTable) {
        if (k.writers & writer)
            keys.append(QLatin1String(k.key));
    }
    return keys;
}

QStringList fontKeyNames()
{
    QStringList names;
    for (const IniKey &k : fontKeys)
        names.append(QLatin1String(k.key));
    return names;
}

template<typename Table>
QStringList namesOf(const Table &table)
{
    QStringList names;
    for (const auto &entry : table)
        names.append(QLatin1String(entry.name));
    return names;
}

} // namespace

AppSettings::AppSettings()
{
    for (const IniKey &k : fontKeys)
        m_values.insert(norm(QLatin1String(k.key)), QLatin1String(k.def));
    for (const IniKey &k : detailTable)
        m_values.insert(norm(QLatin1String(k.key)), QString::fromUtf8(k.def));
    for (const ColourValue &v : colourValues)
        m_values.insert(norm(QLatin1String(v.name)), QLatin1String(v.whenEmpty));
    for (const StoreValue &v : cardFontValues)
        m_values.insert(norm(QLatin1String(v.name)), QLatin1String(v.fallback));
}

QString AppSettings::norm(const QString &key)
{
    const QString k = key.toLower();
    // The picture setting is one value in both stores.
    if (k == QLatin1String("pixstr"))
        return QStringLiteral("pix");
    return k;
}

QString AppSettings::value(const QString &key) const
{
    return m_values.value(norm(key));
}

void AppSettings::setValue(const QString &key, const QString &value)
{
    const QString k = norm(key);
    const auto it = m_values.constFind(k);
    if (it != m_values.constEnd() && *it == value)
        return;   // an unchanged value stays as it was read (or not read)
    m_values.insert(k, value);
    m_unreadIni.remove(k);
    m_unreadStore.remove(k);
}

bool AppSettings::contains(const QString &key) const
{
    return m_values.contains(norm(key));
}

QString AppSettings::conversionError(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

int AppSettings::intValue(const QString &key, QString *error) const
{
    const QString text = value(key);
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (error)
        *error = ok ? QString() : conversionError(text);
    return ok ? n : 0;
}

QStringList AppSettings::detailKeys()
{
    QStringList keys;
    for (const IniKey &k : detailTable)
        keys.append(QLatin1String(k.key));
    return keys;
}

QString AppSettings::iniDefault(const QString &key)
{
    return defaultOf(key);
}

// --- INI file ---------------------------------------------------------------------------

QString AppSettings::readIni(IniFile &ini)
{
    struct Step
    {
        const QString *section;
        QString key;
        bool integer;
    };
    QList<Step> steps;
    for (const IniKey &k : fontKeys) {
        const QString key = QLatin1String(k.key);
        steps.append({&FontSection, key, key.endsWith(QLatin1String("Size"))
                                             || key.endsWith(QLatin1String("Style"))});
    }
    for (const QString &key : detailKeys())
        steps.append({&DetailSection, key, false});

    for (qsizetype i = 0; i < steps.size(); ++i) {
        const Step &step = steps.at(i);
        const QString def = defaultOf(step.key);
        bool ok = true;
        QString text;
        if (step.integer)
            text = QString::number(ini.readInteger(*step.section, step.key, def.toInt(), &ok));
        else
            text = ini.readString(*step.section, step.key, def, &ok);
        if (!ok) {
            // The rest keep what they held and are not written back over the file.
            for (qsizetype j = i; j < steps.size(); ++j)
                m_unreadIni.insert(norm(steps.at(j).key));
            m_failureDetail = ini.errorString();
            return SettingsMessage::IniReadFailed;
        }
        const QString k = norm(step.key);
        m_values.insert(k, text);
        m_unreadIni.remove(k);
    }
    return {};
}

QString AppSettings::writeIniKeys(IniFile &ini, const QString &section, const QStringList &keys,
                                  bool skipUnread)
{
    for (const QString &key : keys) {
        const QString k = norm(key);
        if (skipUnread && m_unreadIni.contains(k))
            continue;
        if (!ini.writeString(section, key, m_values.value(k))) {
            m_failureDetail = ini.errorString();
            return SettingsMessage::IniWriteFailed;
        }
    }
    return {};
}

QString AppSettings::writeIniAtClose(IniFile &ini)
{
    QString message = writeIniKeys(ini, FontSection, fontKeyNames(), true);
    if (message.isEmpty())
        message = writeIniKeys(ini, DetailSection, keysWrittenBy(Close), true);
    if (!ini.save()) {
        message = SettingsMessage::IniWriteFailed;
        m_failureDetail = ini.errorString();
    }
    return message;
}

QString AppSettings::writeIniConfiguration(IniFile &ini)
{
    setValue(QStringLiteral("E7"), TaxFree);
    setValue(QStringLiteral("I5"), TaxFree);
    QString message = writeIniKeys(ini, DetailSection, configurationKeys, false);
    if (!ini.save()) {
        message = SettingsMessage::IniWriteFailed;
        m_failureDetail = ini.errorString();
    }
    if (message.isEmpty()) {
        for (const QString &key : configurationKeys)
            m_unreadIni.remove(norm(key));
    } else {
        setValue(QStringLiteral("DateFormat"), QStringLiteral("dd/mm/yyyy"));
    }
    return message;
}

QString AppSettings::writeIniTaxation(IniFile &ini)
{
    const QStringList keys = keysWrittenBy(Taxation);
    QString message = writeIniKeys(ini, DetailSection, keys, false);
    if (!ini.save()) {
        message = SettingsMessage::IniWriteFailed;
        m_failureDetail = ini.errorString();
    }
    if (message.isEmpty()) {
        for (const QString &key : keys)
            m_unreadIni.remove(norm(key));
    }
    return message;
}

// --- per-user store ---------------------------------------------------------------------

QString AppSettings::readFallback(const QString &key) const
{
    if (key.compare(QLatin1String("MateStr"), Qt::CaseInsensitive) == 0) {
        return m_lettersFolder.isEmpty()
                   ? QStringLiteral("Bas.Xls")
                   : m_lettersFolder + (m_lettersFolder.endsWith(u'/')
                                                || m_lettersFolder.endsWith(u'\\')
                                            ? QString()
                                            : QStringLiteral("/"))
                         + QStringLiteral("Bas.Xls");
    }
    auto find = [&key](const auto &table) -> const char * {
        for (const auto &v : table) {
            if (key.compare(QLatin1String(v.name), Qt::CaseInsensitive) == 0)
                return v.fallback;
        }
        return nullptr;
    };
    for (const char *f : {find(boxValues), find(heldValues), find(configurationValues),
                          find(colourValues), find(cardFontValues)}) {
        if (f)
            return QString::fromUtf8(f);
    }
    return {};
}

QString AppSettings::readUserStore(UserStore &store)
{
    QStringList names = namesOf(boxValues) + namesOf(heldValues) + namesOf(configurationValues)
                        + namesOf(colourValues) + namesOf(cardFontValues)
                        + quoteValues.mid(0, quoteValuesReadAtStart);
    QHash<QString, QString> read;
    bool failed = false;
    for (const QString &name : std::as_const(names)) {
        QString text;
        if (!store.read(name, &text)) {
            failed = true;
            m_failureDetail = store.errorString();
            break;
        }
        read.insert(name, text);
    }

    if (failed) {
        const QStringList withFallback = namesOf(boxValues) + namesOf(heldValues)
                                         + namesOf(configurationValues) + namesOf(colourValues)
                                         + namesOf(cardFontValues);
        for (const QString &name : withFallback) {
            const QString k = norm(name);
            m_values.insert(k, readFallback(name));
            m_unreadStore.insert(k);
        }
        // The quote defaults are tried once more; what cannot be read stays as it was.
        for (int i = 0; i < quoteValuesReadAtStart; ++i) {
            QString text;
            if (store.read(quoteValues.at(i), &text))
                m_values.insert(norm(quoteValues.at(i)), text);
        }
        return SettingsMessage::RegistryReadFailed;
    }

    for (auto it = read.constBegin(); it != read.constEnd(); ++it) {
        if (it.key() == QLatin1String("PixStr"))
            continue;
        m_values.insert(norm(it.key()), it.value());
    }
    // Never stored yet means the INI's Pix stands; a stored PixStr overrides it.
    const QString pix = read.value(QStringLiteral("PixStr"));
    if (!pix.isEmpty())
        m_values.insert(norm(QStringLiteral("Pix")), pix);
    for (const ColourValue &v : colourValues) {
        const QString k = norm(QLatin1String(v.name));
        if (m_values.value(k).isEmpty())
            m_values.insert(k, QLatin1String(v.whenEmpty));
    }
    for (const StoreValue &v : cardFontValues) {
        const QString k = norm(QLatin1String(v.name));
        if (m_values.value(k).isEmpty())
            m_values.insert(k, QLatin1String(v.fallback));
    }
    m_unreadStore.clear();
    return {};
}

QString AppSettings::writeStoreKeys(UserStore &store, const QStringList &keys,
                                    const QString &message, bool skipUnread)
{
    for (const QString &name : keys) {
        const QString k = norm(name);
        if (skipUnread && m_unreadStore.contains(k))
            continue;
        if (!store.write(name, m_values.value(k))) {
            m_failureDetail = store.errorString();
            return message;
        }
    }
    if (!store.flush()) {
        m_failureDetail = store.errorString();
        return message;
    }
    for (const QString &name : keys)
        m_unreadStore.remove(norm(name));
    return {};
}

QString AppSettings::writeUserStore(UserStore &store)
{
    return writeStoreKeys(store,
                          namesOf(boxValues) + namesOf(heldValues) + namesOf(cardFontValues),
                          SettingsMessage::RegistrySaveFailed, true);
}

QString AppSettings::writeUserStoreConfiguration(UserStore &store)
{
    return writeStoreKeys(store, namesOf(configurationValues),
                          SettingsMessage::ConfigRegistrySaveFailed, false);
}

QString AppSettings::writeUserStoreColours(UserStore &store)
{
    return writeStoreKeys(store, namesOf(colourValues), SettingsMessage::ColourSaveFailed,
                          false);
}

QString AppSettings::writeQuoteSet(UserStore &store)
{
    return writeStoreKeys(store, quoteValues, SettingsMessage::QuoteSaveFailed, false);
}

QString AppSettings::readQuoteSet(UserStore &store)
{
    // Each box takes its value in turn; a failure leaves the rest as they were.
    for (const QString &name : quoteValues) {
        QString text;
        if (!store.read(name, &text)) {
            m_failureDetail = store.errorString();
            return SettingsMessage::QuoteLoadFailed;
        }
        setValue(name, text);
    }
    return {};
}

// --- typed helpers ----------------------------------------------------------------------

FontChoice AppSettings::font(FontRole role) const
{
    const FontKeys keys = fontKeysOf(role);
    auto number = [this](const char *key) {
        bool ok = false;
        const int n = value(QLatin1String(key)).trimmed().toInt(&ok);
        return ok ? n : defaultOf(QLatin1String(key)).toInt();
    };
    QString family = value(QLatin1String(keys.name));
    if (family.isEmpty())
        family = defaultOf(QLatin1String(keys.name));
    int size = number(keys.size);
    if (size <= 0)
        size = defaultOf(QLatin1String(keys.size)).toInt();
    FontChoice choice;
    choice.font = fontFromSettings(family, size, number(keys.style));
    choice.color = color(QLatin1String(keys.color));
    return choice;
}

void AppSettings::setFont(FontRole role, const FontChoice &choice)
{
    const FontKeys keys = fontKeysOf(role);
    setValue(QLatin1String(keys.name), choice.font.family());
    const int size = choice.font.pointSize();
    if (size > 0)
        setValue(QLatin1String(keys.size), QString::number(size));
    setValue(QLatin1String(keys.style), QString::number(fontStyleBits(choice.font)));
    setColor(QLatin1String(keys.color), choice.color);
}

QColor AppSettings::color(const QString &key) const
{
    const QColor fallback = colorFromText(defaultOf(key), QColor(Qt::black));
    return colorFromText(value(key), fallback);
}

void AppSettings::setColor(const QString &key, const QColor &color)
{
    setValue(key, colorToText(color));
}

QString AppSettings::dateFormat() const
{
    return value(QStringLiteral("DateFormat")) == QLatin1String("mm/dd/yyyy")
               ? QStringLiteral("mm/dd/yyyy")
               : QStringLiteral("dd/mm/yyyy");
}

QString AppSettings::qtDateFormat() const
{
    return dateFormat() == QLatin1String("mm/dd/yyyy") ? QStringLiteral("MM/dd/yyyy")
                                                       : QStringLiteral("dd/MM/yyyy");
}

void AppSettings::normaliseDateFormat()
{
    setValue(QStringLiteral("DateFormat"), dateFormat());
}

bool AppSettings::showPictures() const
{
    return value(QStringLiteral("Pix")) == QLatin1String("Yes");
}

} // namespace Brelvan
