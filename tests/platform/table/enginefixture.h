#pragma once

// Opens fresh sets of tables for the engine tests on the engine the environment names:
// SQLite by default, PostgreSQL when BRELVAN_TEST_ENGINE=postgresql (the test script
// starts a throwaway server and sets BRELVAN_TEST_PGHOST / BRELVAN_TEST_PGPORT).

#include "data/schema.h"
#include "platform/table/database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace Brelvan::Testing {

class EngineFixture
{
public:
    static bool postgres() { return qEnvironmentVariable("BRELVAN_TEST_ENGINE") == QLatin1String("postgresql"); }

    static Table::ServerAddress server(const QString &database)
    {
        Table::ServerAddress a;
        a.host = qEnvironmentVariable("BRELVAN_TEST_PGHOST", QStringLiteral("127.0.0.1"));
        a.port = qEnvironmentVariableIntValue("BRELVAN_TEST_PGPORT");
        if (a.port == 0)
            a.port = 5432;
        a.database = database;
        return a;
    }

    // A new, empty set of tables; a second call gives another connection to the same set.
    std::unique_ptr<Table::Database> create()
    {
        if (postgres()) {
            m_dbName = QStringLiteral("brelvan_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++s_seq);
            dropServerDatabase(m_dbName);
            return Table::Database::createOnServer(server(m_dbName), brelvanSchema());
        }
        m_dir = std::make_unique<QTemporaryDir>();
        return Table::Database::createFolder(m_dir->path(), brelvanSchema());
    }
    std::unique_ptr<Table::Database> reopen() const
    {
        if (postgres())
            return Table::Database::openServer(server(m_dbName), brelvanSchema());
        return Table::Database::openFolder(m_dir->path(), brelvanSchema());
    }
    QString folder() const { return m_dir ? m_dir->path() : QString(); }
    Table::ServerAddress serverAddress() const { return server(m_dbName); }
    // Moves the set of tables forward to the given layout; returns the version found.
    int upgrade(const Table::Schema &schema) const
    {
        if (postgres())
            return Table::Database::upgradeServer(server(m_dbName), schema);
        return Table::Database::upgradeFolder(m_dir->path(), schema);
    }
    std::unique_ptr<Table::Database> reopen(const Table::Schema &schema) const
    {
        if (postgres())
            return Table::Database::openServer(server(m_dbName), schema);
        return Table::Database::openFolder(m_dir->path(), schema);
    }

    ~EngineFixture()
    {
        if (!m_dbName.isEmpty())
            dropServerDatabase(m_dbName);
    }

    static void dropServerDatabase(const QString &name)
    {
        const QString conn = QStringLiteral("drop-%1").arg(name);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), conn);
            const Table::ServerAddress a = server(QStringLiteral("postgres"));
            db.setHostName(a.host);
            db.setPort(a.port);
            db.setDatabaseName(a.database);
            if (db.open()) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name));
            }
        }
        QSqlDatabase::removeDatabase(conn);
    }

private:
    static inline int s_seq = 0;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dbName;
};

} // namespace Brelvan::Testing
