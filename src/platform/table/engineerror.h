#pragma once

#include <QString>

#include <stdexcept>

namespace Brelvan::Table {

// Raised by the table engine for anything a user can meet: a duplicate key, a query
// outside the dialect, a record edited by another copy, a lost connection.
class EngineError : public std::runtime_error
{
public:
    enum class Code { General, Query, DuplicateKey, Locked, Changed, NotOpen, State, Value };

    explicit EngineError(const QString &message, Code code = Code::General)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(code)
    {}

    QString message() const { return m_message; }
    Code code() const { return m_code; }

private:
    QString m_message;
    Code m_code;
};

// A failure that undid the whole walk it happened in (the connection was lost, or the
// transaction could not go on): none of the walk's posts are in the tables, whatever the
// datasets show, so whoever shows them reads them again.
class WalkRolledBack : public EngineError
{
public:
    using EngineError::EngineError;
};

} // namespace Brelvan::Table
