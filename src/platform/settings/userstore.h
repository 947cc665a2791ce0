#pragma once

#include <QHash>
#include <QString>

#include <memory>

class QSettings;

namespace Brelvan {

// The per-user key store: the registry key "\Software\Tamblow\Brelvan" on Windows,
// ~/.config/Tamblow/Brelvan.conf elsewhere (QSettings' native form). Every value is text; a
// missing value reads as empty. Reads and writes report failure so that the settings'
// fallbacks can be applied; tests derive from it to make either fail.
//
// Where the store is a file, written values wait in memory until flush(), which writes a
// complete new file beside the old one and puts it in place only when it reads back whole:
// QSettings' own sync can leave an empty file on a full disk and still report success.
class UserStore
{
public:
    // The current user's store, as QSettings places it (XDG_CONFIG_HOME and the standard
    // paths' test mode are respected).
    UserStore();
    // A store kept in one INI-form file, for tests and the window fixture.
    explicit UserStore(const QString &filePath);
    virtual ~UserStore();

    UserStore(const UserStore &) = delete;
    UserStore &operator=(const UserStore &) = delete;

    // Reads one value into *value (empty when missing); false when the store cannot be read.
    virtual bool read(const QString &name, QString *value);
    // Writes one value; false when the store cannot be written.
    virtual bool write(const QString &name, const QString &value);
    // Stores what was written; false, with errorString() naming the file and the reason,
    // when it could not be stored, and the stored values then stay as they were.
    virtual bool flush();

    QString location() const;
    QString errorString() const { return m_error; }

protected:
    void setErrorString(const QString &error) { m_error = error; }

private:
    bool checkStatus();
    bool storeFile(QString *why);

    std::unique_ptr<QSettings> m_settings;
    bool m_fileBacked = true;   // false for the Windows registry
    QHash<QString, QString> m_pending;
    QString m_error;
};

// The store the program uses; the fixture installs one over a temporary file. Passing
// nullptr restores the current user's store. The installed store is not owned.
UserStore &userStore();
void installUserStore(UserStore *store);

} // namespace Brelvan
