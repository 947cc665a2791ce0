#include "platform/settings/userstore.h"

#include <QSettings>
#include <QStringList>

namespace Brelvan {

namespace {

UserStore *&installed()
{
    static UserStore *store = nullptr;
    return store;
}

} // namespace

UserStore::UserStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Tamblow"),
                                             QStringLiteral("Brelvan")))
{
}

UserStore::UserStore(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

UserStore::~UserStore() = default;

QString UserStore::location() const
{
    return m_settings->fileName();
}

bool UserStore::checkStatus()
{
    switch (m_settings->status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        m_error = QStringLiteral("Cannot access %1").arg(location());
        return false;
    case QSettings::FormatError:
        m_error = QStringLiteral("%1 is not in settings form").arg(location());
        return false;
    }
    return false;
}

bool UserStore::read(const QString &name, QString *value)
{
    value->clear();
    if (!checkStatus())
        return false;
    const QVariant v = m_settings->value(name);
    // A hand-edited value with commas comes back as a list; it was one text.
    if (v.metaType().id() == QMetaType::QStringList)
        *value = v.toStringList().join(QLatin1String(", "));
    else
        *value = v.toString();
    return true;
}

bool UserStore::write(const QString &name, const QString &value)
{
    if (!m_settings->isWritable()) {
        m_error = QStringLiteral("Cannot write %1").arg(location());
        return false;
    }
    m_settings->setValue(name, value);
    return checkStatus();
}

bool UserStore::flush()
{
    m_settings->sync();
    return checkStatus();
}

UserStore &userStore()
{
    if (installed())
        return *installed();
    static UserStore user;
    return user;
}

void installUserStore(UserStore *store)
{
    installed() = store;
}

} // namespace Brelvan
