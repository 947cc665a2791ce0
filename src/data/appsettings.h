#pragma once

#include "platform/desktop/dialogs.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace Brelvan {

class IniFile;
class UserStore;

// The messages of the settings stores' failures.
namespace SettingsMessage {
inline const QString IniReadFailed = QStringLiteral("Exception : Failed to load from IniFile.");
inline const QString IniWriteFailed = QStringLiteral("Exception: IniFile Write Error.");
inline const QString RegistryReadFailed = QStringLiteral("Exception 02: Registry Read Error.");
inline const QString RegistrySaveFailed =
    QStringLiteral("Registry Exception 02: Information Saving Failed.");
inline const QString ConfigRegistrySaveFailed =
    QStringLiteral("Config Registry Exception 01: Information Saving Failed.");
inline const QString ColourSaveFailed =
    QStringLiteral("Colour Config Exception 01: Information Saving Failed.");
inline const QString QuoteSaveFailed =
    QStringLiteral("Registry Exception 05: Information Saving Failed.");
inline const QString QuoteLoadFailed =
    QStringLiteral("Registry Exception 06: Information Loading Failed.");
} // namespace SettingsMessage

// The four fonts of the Office page: company and "others" live in the INI file, the two
// business-card fonts in the per-user store.
enum class FontRole { Company, Others, OwnerName, Services };

// Every setting of the program, held as text for the whole run and named by its key
// (key names are not case sensitive). It reads both stores at start, and writes each key
// back at the moment that owns it; every reader and writer returns the failure message to
// show, or an empty text, and failureDetail() then says which file failed and why.
//
// After a failed read, values that were not read are not written back unless the program
// changed them: a passing read error must not replace the user's stored settings with
// defaults.
class AppSettings
{
public:
    AppSettings();   // every INI default; per-user values empty

    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &value);
    bool contains(const QString &key) const;
    // A whole number from the value; on failure *error holds the conversion error text.
    int intValue(const QString &key, QString *error = nullptr) const;

    // `LettersFolder`, for the fallback of `MateStr`.
    void setLettersFolder(const QString &folder) { m_lettersFolder = folder; }
    QString lettersFolder() const { return m_lettersFolder; }

    // --- INI file -------------------------------------------------------------------
    // Section Font, then Detail in their order; a missing file or key gives the default.
    QString readIni(IniFile &ini);
    // Section Font and the Detail keys the main window's close writes.
    QString writeIniAtClose(IniFile &ini);
    // The Detail keys of the configuration window; on failure DateFormat reverts to
    // "dd/mm/yyyy" for the run.
    QString writeIniConfiguration(IniFile &ini);
    // The seventeen claim percentages of the taxation window.
    QString writeIniTaxation(IniFile &ini);

    // --- per-user store ----------------------------------------------------------------
    // Every value read at start; on a read failure every value takes its fallback.
    QString readUserStore(UserStore &store);
    // The values written when the main window is destroyed.
    QString writeUserStore(UserStore &store);
    // `I6Str` to `I9Str`, `R1Str` to `R3Str`, `SuperFundStr`.
    QString writeUserStoreConfiguration(UserStore &store);
    // `Grad1Str` to `Grad4Str`.
    QString writeUserStoreColours(UserStore &store);
    // The thirteen values of a saved quote.
    QString writeQuoteSet(UserStore &store);
    QString readQuoteSet(UserStore &store);

    // The file and the reason behind the last failure message returned.
    QString failureDetail() const { return m_failureDetail; }

    // --- typed helpers -----------------------------------------------------------------
    FontChoice font(FontRole role) const;
    void setFont(FontRole role, const FontChoice &font);
    // A colour setting as a colour; an empty or unreadable value gives the key's default.
    QColor color(const QString &key) const;
    void setColor(const QString &key, const QColor &color);
    // The short date format in use: "mm/dd/yyyy" when set so, else "dd/mm/yyyy".
    QString dateFormat() const;
    // The same as a Qt date format ("dd/MM/yyyy" or "MM/dd/yyyy").
    QString qtDateFormat() const;
    // Sets the held DateFormat to the format in use (the window's first activation).
    void normaliseDateFormat();
    // True when client pictures show automatically (`Pix`, and `PixStr` over it).
    bool showPictures() const;

    // The keys of section Detail in reading order, and a key's INI default.
    static QStringList detailKeys();
    static QString iniDefault(const QString &key);
    // The conversion error text for a value that is not a whole number.
    static QString conversionError(const QString &text);

private:
    static QString norm(const QString &key);
    QString readFallback(const QString &key) const;
    QString writeIniKeys(IniFile &ini, const QString &section, const QStringList &keys,
                         bool skipUnread);
    QString writeStoreKeys(UserStore &store, const QStringList &keys, const QString &message,
                           bool skipUnread);

    QHash<QString, QString> m_values;   // by lower-case key
    QSet<QString> m_unreadIni;          // keys a failed INI read left unread
    QSet<QString> m_unreadStore;        // keys that hold fallbacks after a failed store read
    QString m_lettersFolder;
    QString m_failureDetail;
};

} // namespace Brelvan
