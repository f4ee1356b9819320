#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class QSqlError;

// Errors that reach the application-wide handler, which turns them into
// Chinese messages.
class KWError : public std::exception
{
public:
    explicit KWError(QString message);
    const QString& message() const { return m_message; }
    // Shown in the technical text of the error box.
    virtual const char* className() const { return "KWError"; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// An error of the database engine, classified by what went wrong.
class DatabaseError : public KWError
{
public:
    enum class Condition {
        DuplicateKey,
        ReferencedRow,
        RowChanged,
        ValueTooLong,
        TableInUse,
        CannotOpen,
        Other,
    };

    DatabaseError(Condition condition, QString engineCode, QString message);
    // Classifies an error reported by Qt SQL.
    static DatabaseError fromSqlError(const QSqlError& error);

    Condition condition() const { return m_condition; }
    const QString& engineCode() const { return m_engineCode; }
    const char* className() const override { return "DatabaseError"; }

private:
    Condition m_condition;
    QString m_engineCode;
};

// What an operator is told about a date that cannot be read.
QString InvalidDateMessage();

// A value that cannot be read as the type its field needs.
class ConvertError : public KWError
{
public:
    enum class Kind { InvalidDate, FormatMismatch, Other };
    ConvertError(Kind kind, QString message);
    Kind kind() const { return m_kind; }
    const char* className() const override { return "ConvertError"; }

private:
    Kind m_kind;
};

class RangeError : public KWError
{
public:
    using KWError::KWError;
    const char* className() const override { return "RangeError"; }
};

// Stops an operation after its own message was shown; the handler shows nothing.
class SilentAbort : public KWError
{
public:
    SilentAbort();
    const char* className() const override { return "SilentAbort"; }
};

[[noreturn]] void Abort();
