#include "platform/settings/inifile.h"

#include "../../smalldisk.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Brelvan;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Fails every read of one key, as a damaged file would.
class FailingIni : public IniFile
{
public:
    FailingIni(const QString &path, const QString &failKey)
        : IniFile(path), m_failKey(failKey) {}
    bool failWrites = false;

protected:
    ReadStatus readEntry(const QString &section, const QString &key, QString *value,
                         QString *error) override
    {
        if (key == m_failKey) {
            *error = QStringLiteral("injected");
            return ReadStatus::Failed;
        }
        return IniFile::readEntry(section, key, value, error);
    }
    bool writeFile(const QByteArray &text, QString *error) override
    {
        if (failWrites) {
            *error = QStringLiteral("disk full");
            return false;
        }
        return IniFile::writeFile(text, error);
    }

private:
    QString m_failKey;
};

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath("brelvan.INI"); }
    void cleanup() { QFile::remove(m_path); }

    void roundTripKeepsKeysAndValues_data();
    void roundTripKeepsKeysAndValues();
    void lookupIgnoresCaseAndKeepsSpelling();
    void writeKeepsOtherLinesInPlace();
    void windows1252LinesReadAndKeepTheirBytes();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void missingFileGivesDefaultsAndIsCreatedOnSave();
    void readFailures_data();
    void readFailures();
    void injectedReadFailureAtOneKey();
    void writeFailures();
    void readOnlyFileRefusesWrites();
    void saveMergesWithFileWrittenMeanwhile();
    void rejectsNamesTheFileCannotHold_data();
    void rejectsNamesTheFileCannotHold();
    void valueIsKeptOnOneLine();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::roundTripKeepsKeysAndValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");   // as it must stand in the file

    QTest::newRow("percent key") << "Expense%1" << "100" << QByteArray("Expense%1=100");
    QTest::newRow("slash hash key") << "TIN/ABN#" << "ABN" << QByteArray("TIN/ABN#=ABN");
    QTest::newRow("named percent") << "Expense%Office" << "100"
                                   << QByteArray("Expense%Office=100");
    QTest::newRow("backslash value") << "FolderStr" << "C:\\" << QByteArray("FolderStr=C:\\");
    QTest::newRow("empty value") << "E1" << "" << QByteArray("E1=");
    QTest::newRow("equals in value") << "R1" << "a=b" << QByteArray("R1=a=b");
    QTest::newRow("outer blanks quoted") << "Company" << " Acme "
                                         << QByteArray("Company=\" Acme \"");
    QTest::newRow("outer quotes kept") << "Company" << "\"Acme\""
                                       << QByteArray("Company=\"\"Acme\"\"");
    QTest::newRow("non-ASCII text") << "Company" << QString::fromUtf8("Café Ñ")
                                    << QByteArray("Company=Caf\xC3\xA9 \xC3\x91");
}

void TestIniFile::roundTripKeepsKeysAndValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, line);

    IniFile ini(m_path);
    QVERIFY(ini.writeString("Detail", key, value));
    QVERIFY2(ini.save(), qPrintable(ini.errorString()));
    QCOMPARE(contents(m_path), "[Detail]\r\n" + line + "\r\n");

    IniFile again(m_path);
    bool ok = false;
    QCOMPARE(again.readString("Detail", key, "default", &ok), value);
    QVERIFY(ok);
    QCOMPARE(again.keys("Detail"), QStringList{key});
}

void TestIniFile::lookupIgnoresCaseAndKeepsSpelling()
{
    put(m_path, "[DETAIL]\r\nVAT=GST\r\ntin/abn#=ABN\r\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readString("Detail", "Vat"), QString("GST"));
    QCOMPARE(ini.readString("detail", "TIN/ABN#"), QString("ABN"));
    QVERIFY(ini.contains("Detail", "vAt"));

    QVERIFY(ini.writeString("Detail", "Vat", "Tax"));
    QVERIFY(ini.save());
    // The file's spelling of section and key survives; no second key appears.
    QCOMPARE(contents(m_path), QByteArray("[DETAIL]\r\nVAT=Tax\r\ntin/abn#=ABN\r\n"));
}

void TestIniFile::writeKeepsOtherLinesInPlace()
{
    // LF line ends and a BOM as another editor may leave them: blank lines, comments, the BOM
    // and the line ends stay; new lines take the file's own line end.
    put(m_path, "\xEF\xBB\xBF; kept\n[Font]\nCompanyFont=Arial\n\n[Detail]\nABN=1\n"
                "Drive=D\n\n[Other]\nX=1\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readString("Font", "CompanyFont"), QString("Arial"));
    QVERIFY(ini.writeString("Detail", "Drive", "E"));
    QVERIFY(ini.writeString("Detail", "Company", "Acme"));
    QVERIFY(ini.writeString("New", "K", "v"));
    QVERIFY(ini.save());
    QCOMPARE(contents(m_path),
             QByteArray("\xEF\xBB\xBF; kept\n[Font]\nCompanyFont=Arial\n\n[Detail]\nABN=1\n"
                        "Drive=E\nCompany=Acme\n\n[Other]\nX=1\n[New]\nK=v\n"));
    QCOMPARE(ini.sections(), (QStringList{"Font", "Detail", "Other", "New"}));
}

void TestIniFile::windows1252LinesReadAndKeepTheirBytes()
{
    // written by another program in Windows-1252, next to a line of ours in UTF-8, and a
    // last line without its line end
    const QByteArray file = "[Detail]\r\nCompany=M\xFCller & S\xF6hne\r\n"
                            "CoDet=\x93Quality\x94 \x96 \x80" "5\r\nABN=Caf\xC3\xA9\r\nDrive=D";
    put(m_path, file);
    IniFile ini(m_path);
    QCOMPARE(ini.readString("Detail", "Company"), QString::fromUtf8("Müller & Söhne"));
    QCOMPARE(ini.readString("Detail", "CoDet"), QString::fromUtf8("“Quality” – €5"));
    QCOMPARE(ini.readString("Detail", "ABN"), QString::fromUtf8("Café"));

    // the program writes back every value as it holds it: nothing changes, nothing is written
    for (const char *key : {"Company", "CoDet", "ABN", "Drive"})
        QVERIFY(ini.writeString("Detail", key, ini.readString("Detail", key)));
    QVERIFY(ini.save());
    QCOMPARE(contents(m_path), file);

    // one changed value is written in UTF-8; every other line keeps its bytes, and the last
    // line gets a line end only because a new line follows it
    QVERIFY(ini.writeString("Detail", "CoDet", QString::fromUtf8("Söhne – €6")));
    QVERIFY(ini.writeString("Detail", "Pix", "No"));
    QVERIFY(ini.save());
    QCOMPARE(contents(m_path),
             QByteArray("[Detail]\r\nCompany=M\xFCller & S\xF6hne\r\n"
                        "CoDet=S\xC3\xB6hne \xE2\x80\x93 \xE2\x82\xAC" "6\r\n"
                        "ABN=Caf\xC3\xA9\r\nDrive=D\r\nPix=No\r\n"));
    IniFile again(m_path);
    QCOMPARE(again.readString("Detail", "Company"), QString::fromUtf8("Müller & Söhne"));
    QCOMPARE(again.readString("Detail", "CoDet"), QString::fromUtf8("Söhne – €6"));
}

void TestIniFile::fullDiskLeavesTheOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("more than a write buffer") << 20000;
    QTest::newRow("less than a write buffer") << 9000;
    QTest::newRow("less than a page") << 500;
}

void TestIniFile::fullDiskLeavesTheOldFile()
{
    QFETCH(int, size);
    SmallDisk disk;
    if (!disk.mount(64))
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.filePath("brelvan.INI");
    const QByteArray old = "[Detail]\r\nDataStr=Data\r\nCompany=Acme\r\n";
    put(path, old);
    disk.fill();

    IniFile ini(path);
    QVERIFY(ini.writeString("Detail", "Company", QString(size, u'x')));
    QVERIFY(!ini.save());
    QCOMPARE(contents(path), old);
    QVERIFY2(ini.errorString().contains(path), qPrintable(ini.errorString()));
    QVERIFY2(ini.errorString().contains("No space left on device"), qPrintable(ini.errorString()));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files).size(), 2);   // no half-written file left
}

void TestIniFile::missingFileGivesDefaultsAndIsCreatedOnSave()
{
    IniFile ini(m_path);
    bool ok = false;
    QCOMPARE(ini.readString("Detail", "ApplyRate", "10", &ok), QString("10"));
    QVERIFY(ok);
    QCOMPARE(ini.readInteger("Font", "CompanySize", 10, &ok), 10);
    QVERIFY(ok);
    QVERIFY(!QFile::exists(m_path));
    // Nothing written, nothing to create.
    QVERIFY(ini.save());
    QVERIFY(!QFile::exists(m_path));

    QVERIFY(ini.writeInteger("Font", "CompanySize", 12));
    QCOMPARE(ini.readInteger("Font", "CompanySize", 10), 12);   // pending values are seen
    QVERIFY(ini.save());
    QCOMPARE(contents(m_path), QByteArray("[Font]\r\nCompanySize=12\r\n"));
}

void TestIniFile::readFailures_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");

    const QByteArray damaged = "[Detail]\r\nABN=1\r\nthis is no ini line\r\nDrive=E\r\n"
                               "[Font]\r\nCompanyFont=Arial\r\n";
    QTest::newRow("key above a bad line") << damaged << "ABN" << true << "1";
    QTest::newRow("key below a bad line") << damaged << "Drive" << false << "dflt";
    QTest::newRow("missing key below a bad line") << damaged << "Company" << false << "dflt";
    QTest::newRow("other section unharmed") << damaged << "CompanyFont" << true << "Arial";
    const QByteArray cp1252 = "[Detail]\r\nABN=1\r\nCompany=Caf\xE9\r\nDrive=E\r\n";
    QTest::newRow("value in Windows-1252") << cp1252 << "Company" << true
                                           << QString::fromUtf8("Café");
    QTest::newRow("unclosed header") << QByteArray("[Detail]\r\n[Font\r\nDrive=E\r\n")
                                     << "Drive" << false << "dflt";
    QTest::newRow("number not a number") << QByteArray("[Detail]\r\nDrive=x\r\n") << "Drive"
                                         << true << "x";
}

void TestIniFile::readFailures()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(bool, ok);
    QFETCH(QString, value);

    put(m_path, file);
    IniFile ini(m_path);
    const QString section = key == "CompanyFont" ? "Font" : "Detail";
    bool readOk = !ok;
    QCOMPARE(ini.readString(section, key, "dflt", &readOk), value);
    QCOMPARE(readOk, ok);
    QCOMPARE(ini.errorString().isEmpty(), ok);
    if (!ok) {
        // the message names the file and the line
        QVERIFY2(ini.errorString().contains(m_path), qPrintable(ini.errorString()));
        QVERIFY2(ini.errorString().contains(QRegularExpression(", line [0-9]+")),
                 qPrintable(ini.errorString()));
    }
}

void TestIniFile::injectedReadFailureAtOneKey()
{
    put(m_path, "[Detail]\r\nABN=1\r\nDrive=E\r\n");
    FailingIni ini(m_path, "Drive");
    bool ok = false;
    QCOMPARE(ini.readString("Detail", "ABN", "x", &ok), QString("1"));
    QVERIFY(ok);
    QCOMPARE(ini.readString("Detail", "Drive", "D", &ok), QString("D"));
    QVERIFY(!ok);
    QCOMPARE(ini.errorString(), QString("injected"));

    // A file that cannot be opened fails every read: here a folder stands in its place.
    IniFile folder(m_dir.path());
    QCOMPARE(folder.readString("Detail", "ABN", "x", &ok), QString("x"));
    QVERIFY(!ok);
}

void TestIniFile::writeFailures()
{
    // A folder that cannot exist: its parent is a file.
    put(m_path, "[Detail]\r\nABN=1\r\n");
    IniFile nowhere(m_path + "/sub.INI");
    QVERIFY(nowhere.writeString("Detail", "ABN", "2"));
    QVERIFY(!nowhere.save());
    QVERIFY(!nowhere.errorString().isEmpty());
    QVERIFY(!nowhere.hasPendingWrites());

    FailingIni failing(m_path, QString());
    failing.failWrites = true;
    QVERIFY(failing.writeString("Detail", "ABN", "2"));
    QVERIFY(!failing.save());
    QCOMPARE(failing.errorString(), QString("disk full"));
    QCOMPARE(contents(m_path), QByteArray("[Detail]\r\nABN=1\r\n"));   // untouched

}

void TestIniFile::readOnlyFileRefusesWrites()
{
    // Only for users the system holds to file permissions.
    put(m_path, "[Detail]\r\nABN=1\r\n");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser);
    IniFile readOnly(m_path);
    QVERIFY(readOnly.writeString("Detail", "ABN", "3"));
    const bool saved = readOnly.save();
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    if (QFileInfo(m_path).isWritable() && saved)
        QSKIP("running with rights that write read-only files");
    QVERIFY(!saved);
    QCOMPARE(contents(m_path), QByteArray("[Detail]\r\nABN=1\r\n"));
}

void TestIniFile::saveMergesWithFileWrittenMeanwhile()
{
    IniFile mainWindow(m_path);
    QCOMPARE(mainWindow.readString("Detail", "ABN", "x"), QString("x"));   // loaded, empty

    IniFile taxation(m_path);
    QVERIFY(taxation.writeString("Detail", "Expense%1", "90"));
    QVERIFY(taxation.save());

    QVERIFY(mainWindow.writeString("Detail", "ABN", "42"));
    QVERIFY(mainWindow.save());
    QCOMPARE(contents(m_path), QByteArray("[Detail]\r\nExpense%1=90\r\nABN=42\r\n"));
}

void TestIniFile::rejectsNamesTheFileCannotHold_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");

    QTest::newRow("equals in key") << "Detail" << "a=b";
    QTest::newRow("empty key") << "Detail" << "";
    QTest::newRow("bracket key") << "Detail" << "[x";
    QTest::newRow("comment key") << "Detail" << ";x";
    QTest::newRow("line break key") << "Detail" << "a\nb";
    QTest::newRow("blank-edged key") << "Detail" << " a";
    QTest::newRow("bracket section") << "De]tail" << "a";
    QTest::newRow("empty section") << "" << "a";
}

void TestIniFile::rejectsNamesTheFileCannotHold()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    IniFile ini(m_path);
    QVERIFY(!ini.writeString(section, key, "v"));
    QVERIFY(!ini.errorString().isEmpty());
    QVERIFY(!ini.hasPendingWrites());
}

void TestIniFile::valueIsKeptOnOneLine()
{
    // A pasted line break must not start a new key or section in the file.
    IniFile ini(m_path);
    QVERIFY(ini.writeString("Detail", "Company", "Acme\r\n[Font]\nCompanySize=99"));
    QVERIFY(ini.save());
    QCOMPARE(contents(m_path), QByteArray("[Detail]\r\nCompany=Acme [Font] CompanySize=99\r\n"));
    QCOMPARE(IniFile(m_path).sections(), QStringList{"Detail"});
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
