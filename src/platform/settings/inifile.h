#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace Brelvan {

// The program's INI file in Windows form: "[Section]" headers, "Key=Value" lines, CRLF line
// ends. Key names are kept exactly as written (QSettings would rewrite "Expense%1" and
// "TIN/ABN#"); sections and keys are found regardless of case. Values are plain text, each
// line read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.
//
// The file is read on first use. Writes are collected in memory and stored by save(), which
// reads the file afresh and changes only the keys whose value differs, so another window's
// keys written in between survive. Every other line keeps its bytes and its line end; a
// changed or new line is written in UTF-8. The file is replaced only by a complete new one.
class IniFile
{
public:
    enum class ReadStatus { Found, Missing, Failed };

    explicit IniFile(const QString &path);
    virtual ~IniFile();

    QString path() const { return m_path; }
    bool exists() const;

    // The value of key in section, or def when either is missing. When the value cannot be
    // read (file unreadable, a line that is not INI text) it returns def, sets *ok to false
    // and leaves the reason, naming the file and the line, in errorString().
    QString readString(const QString &section, const QString &key, const QString &def = {},
                       bool *ok = nullptr);
    // An integer value, or def when missing or not a whole number (as Windows reads them);
    // *ok is false only when the value could not be read at all.
    int readInteger(const QString &section, const QString &key, int def, bool *ok = nullptr);
    bool contains(const QString &section, const QString &key);
    QStringList sections();
    QStringList keys(const QString &section);

    // Sets a value in memory; false (with errorString()) for names the file cannot hold.
    // Line breaks inside a value become spaces, since one key is one line.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    // Writes the pending values to disk, creating the file when missing; a file that would
    // not change is not written. False with errorString() (the file and the reason) when it
    // cannot be written; the file then stays as it was and the pending values are dropped.
    bool save();
    bool hasPendingWrites() const { return !m_pending.isEmpty(); }

    // Reads the file again on next use; pending writes are kept.
    void reload();
    QString errorString() const { return m_error; }

protected:
    // Finds one value in the loaded file. Tests override it to fail at a chosen key.
    virtual ReadStatus readEntry(const QString &section, const QString &key, QString *value,
                                 QString *error);
    // Replaces the file with text. Tests override it to make writing fail.
    virtual bool writeFile(const QByteArray &text, QString *error);

private:
    struct Line
    {
        enum Kind { Blank, Comment, Section, Entry, Bad };
        Kind kind = Blank;
        QByteArray bytes; // the line as read, without its end; written back unless changed
        QByteArray end;   // its line end: "\r\n", "\n", or nothing on a last line
        QString text;     // the decoded line
        QString name;     // section name or key
        QString value;    // decoded value of an entry
    };
    struct Pending
    {
        QString section;
        QString key;
        QString value;
    };

    bool ensureLoaded();
    void parse(const QByteArray &bytes, QList<Line> *lines);
    void apply(QList<Line> &lines, const Pending &change) const;
    QByteArray assemble(const QList<Line> &lines) const;
    static QString encodeValue(const QString &value);
    static QString decodeValue(const QString &raw);

    QString m_path;
    QList<Line> m_lines;
    QByteArray m_bytes;          // the file as last read
    QByteArray m_lineEnd = "\r\n";   // for new lines: the file's own
    bool m_bom = false;
    QList<Pending> m_pending;
    bool m_loaded = false;
    QString m_loadError;   // why the file as a whole could not be read
    QString m_error;
};

// How the program opens its INI file; window tests install a factory that fails on purpose.
using IniFileFactory = std::function<std::unique_ptr<IniFile>(const QString &path)>;
std::unique_ptr<IniFile> openIniFile(const QString &path);
void installIniFileFactory(IniFileFactory factory);   // an empty factory restores the default

} // namespace Brelvan
