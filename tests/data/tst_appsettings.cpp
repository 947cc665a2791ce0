#include "platform/settings/inifile.h"
#include "platform/settings/userstore.h"
#include "data/appsettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Brelvan;

namespace {

// Fails reading at one key (reads of other keys go to the file).
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
        if (key.compare(m_failKey, Qt::CaseInsensitive) == 0)
            return ReadStatus::Failed;
        return IniFile::readEntry(section, key, value, error);
    }
    bool writeFile(const QByteArray &text, QString *error) override
    {
        return !failWrites && IniFile::writeFile(text, error);
    }

private:
    QString m_failKey;
};

// A per-user store over a file that fails reading one value (a given number of times) or
// fails every write.
class FailingStore : public UserStore
{
public:
    explicit FailingStore(const QString &path) : UserStore(path) {}
    QString failReadAt;
    int readFailures = 1000;
    bool failWrites = false;
    QStringList written;

    bool read(const QString &name, QString *value) override
    {
        if (name == failReadAt && readFailures > 0) {
            --readFailures;
            value->clear();
            return false;
        }
        return UserStore::read(name, value);
    }
    bool write(const QString &name, const QString &value) override
    {
        if (failWrites)
            return false;
        written.append(name);
        return UserStore::write(name, value);
    }
};

QMap<QString, QString> iniSection(const QString &path, const QString &section)
{
    IniFile ini(path);
    QMap<QString, QString> values;
    for (const QString &key : ini.keys(section))
        values.insert(key, ini.readString(section, key));
    return values;
}

const QStringList closeKeys{"ABN", "ApplyRate", "Drive", "Company", "DataStr", "DateFormat",
                            "FindStr", "FolderStr", "IPaddr", "PeriodPaid", "Pix",
                            "ReplaceStr", "TIN/ABN#"};
const QStringList fontKeys{"CompanyFont", "CompanySize", "CompanyColor", "CompanyFontStyle",
                           "OthersFont", "OthersSize", "OthersColor", "OthersFontStyle"};

} // namespace

class TestAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void missingIniGivesEveryDefault_data();
    void missingIniGivesEveryDefault();
    void closeWritesFontAndCloseKeysOnly();
    void readsKeysVerbatimAndInAnyCase();
    void iniReadErrorStopsAtThatKey_data();
    void iniReadErrorStopsAtThatKey();
    void dateFormatInUse_data();
    void dateFormatInUse();
    void configurationAndTaxationWriters();
    void iniWriteFailures();
    void fontsRoundTripThroughIni();
    void pixStrOverridesPix_data();
    void pixStrOverridesPix();
    void storeValuesAndEmptyDefaults();
    void storeReadFailureAppliesFallbacks_data();
    void storeReadFailureAppliesFallbacks();
    void storeReadFailureDoesNotOverwriteStoredValues();
    void storeWriters_data();
    void storeWriters();

private:
    QTemporaryDir m_dir;
    QString m_ini;
    QString m_store;
};

void TestAppSettings::init()
{
    QVERIFY(m_dir.isValid());
    m_ini = m_dir.filePath("brelvan.INI");
    m_store = m_dir.filePath("Brelvan.conf");
    QFile::remove(m_ini);
    QFile::remove(m_store);
}

void TestAppSettings::missingIniGivesEveryDefault_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const QList<QPair<const char *, const char *>> defaults{
        {"CompanyFont", "Arial"}, {"CompanySize", "10"}, {"CompanyColor", "clBlue"},
        {"CompanyFontStyle", "0"}, {"OthersFont", "Arial"}, {"OthersSize", "10"},
        {"OthersColor", "clBlack"}, {"OthersFontStyle", "0"},
        {"ABN", "Tax TIN or ABN"}, {"ApplyRate", "10"}, {"Drive", "D"},
        {"Company", "Your Company"}, {"DataStr", ""}, {"DateFormat", "dd/mm/yyyy"},
        {"E1", ""}, {"E2", ""}, {"E3", "60%"}, {"E4", "40%"}, {"E5", "20%"}, {"E6", ""},
        {"E7", "Tax Free"}, {"FindStr", ""}, {"FiscalYr", "Cal"}, {"FolderStr", "C:\\"},
        {"Health", "PhilHealth"}, {"I1", ""}, {"I4", ""}, {"I5", "Tax Free"},
        {"IPaddr", "192.168.1.10"}, {"Levy", "Levy"}, {"Alpha", "Alpha"},
        {"Number", "Number"}, {"Money", "Money"}, {"PeriodPaid", "2"}, {"Period", "3"},
        {"Pix", "Yes"}, {"ReplaceStr", ""}, {"Super", "Super"}, {"TaxRate", "20"},
        {"TaxFileNo", "TaxFileNo"}, {"TIN/ABN#", "TIN"}, {"VAT", "VatStr"},
        {"Expense%1", "100"}, {"Expense%2", "80"}, {"Expense%3", "60"},
        {"Expense%4", "40"}, {"Expense%5", "20"}, {"Expense%6", "100"}, {"Expense%7", "0"},
        {"Expense%Office", "100"}, {"Expense%Other", "50"}, {"Expense%Phone", "80"},
        {"Income%1", "100"}, {"Income%4", "100"}, {"Income%5", "0"},
        {"Income%Interest", "100"}, {"Income%Salary", "100"},
    };
    for (const auto &[key, value] : defaults)
        QTest::newRow(key) << QString(key) << QString(value);
}

void TestAppSettings::missingIniGivesEveryDefault()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    AppSettings settings;
    settings.setValue(key, "held before");
    IniFile ini(m_ini);
    QCOMPARE(settings.readIni(ini), QString());
    QCOMPARE(settings.value(key), value);
    QVERIFY(!QFile::exists(m_ini));
}

void TestAppSettings::closeWritesFontAndCloseKeysOnly()
{
    AppSettings settings;
    IniFile ini(m_ini);
    QCOMPARE(settings.readIni(ini), QString());
    settings.setValue("ABN", "51 824 753 556");
    QCOMPARE(settings.writeIniAtClose(ini), QString());

    QCOMPARE(IniFile(m_ini).sections(), (QStringList{"Font", "Detail"}));
    QCOMPARE(iniSection(m_ini, "Font").keys().size(), fontKeys.size());
    QCOMPARE(IniFile(m_ini).keys("Font"), fontKeys);
    QCOMPARE(IniFile(m_ini).keys("Detail"), closeKeys);
    const auto detail = iniSection(m_ini, "Detail");
    QCOMPARE(detail.value("ABN"), QString("51 824 753 556"));
    QCOMPARE(detail.value("FolderStr"), QString("C:\\"));
    QCOMPARE(detail.value("TIN/ABN#"), QString("TIN"));
    QCOMPARE(iniSection(m_ini, "Font").value("CompanyColor"), QString("clBlue"));

    // The next start reads what was written.
    AppSettings next;
    IniFile again(m_ini);
    QCOMPARE(next.readIni(again), QString());
    QCOMPARE(next.value("ABN"), QString("51 824 753 556"));
}

void TestAppSettings::readsKeysVerbatimAndInAnyCase()
{
    QFile f(m_ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[font]\r\ncompanysize=12\r\nCompanyFontStyle=bold\r\n"
            "[DETAIL]\r\nVat=GST\r\ntin/abn#=ABN\r\nExpense%1=90\r\nExpense%Office=75\r\n"
            "Income%Salary=0\r\nALPHA=Colour\r\n");
    f.close();
    AppSettings settings;
    IniFile ini(m_ini);
    QCOMPARE(settings.readIni(ini), QString());
    QCOMPARE(settings.value("VAT"), QString("GST"));
    QCOMPARE(settings.value("TIN/ABN#"), QString("ABN"));
    QCOMPARE(settings.value("Expense%1"), QString("90"));
    QCOMPARE(settings.value("expense%office"), QString("75"));
    QCOMPARE(settings.value("Income%Salary"), QString("0"));
    QCOMPARE(settings.value("Alpha"), QString("Colour"));
    QCOMPARE(settings.value("CompanySize"), QString("12"));
    QCOMPARE(settings.value("CompanyFontStyle"), QString("0"));   // not a number: default
}

void TestAppSettings::iniReadErrorStopsAtThatKey_data()
{
    QTest::addColumn<QString>("failKey");
    QTest::newRow("first Detail key") << "ABN";
    QTest::newRow("DateFormat") << "DateFormat";
    QTest::newRow("Pix") << "Pix";
    QTest::newRow("TIN/ABN#") << "TIN/ABN#";
    QTest::newRow("Expense%3") << "Expense%3";
    QTest::newRow("last Detail key") << "Income%Salary";
    QTest::newRow("in Font") << "CompanyColor";
}

void TestAppSettings::iniReadErrorStopsAtThatKey()
{
    QFETCH(QString, failKey);
    const QStringList order = fontKeys + AppSettings::detailKeys();
    // Every key in the file holds a value that differs from its default.
    {
        IniFile ini(m_ini);
        for (const QString &key : order) {
            const QString section = fontKeys.contains(key) ? "Font" : "Detail";
            const QString v = key.contains("Size") || key.contains("Style") ? "3"
                                                                              : "file " + key;
            QVERIFY(ini.writeString(section, key, v));
        }
        QVERIFY(ini.save());
    }
    AppSettings settings;
    settings.setValue("ApplyRate", "held");
    FailingIni ini(m_ini, failKey);
    QCOMPARE(settings.readIni(ini), QString("Exception : Failed to load from IniFile."));

    const qsizetype stop = order.indexOf(failKey);
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QString key = order.at(i);
        QString expected = key.contains("Size") || key.contains("Style") ? "3" : "file " + key;
        if (i >= stop)
            expected = key == "ApplyRate" ? "held" : AppSettings::iniDefault(key);
        QCOMPARE(settings.value(key), expected);
    }

    // The close writes neither the failed key nor those after it over the file, unless the
    // program has changed them meanwhile.
    auto fileValue = [this](const QString &key) {
        return IniFile(m_ini).readString(fontKeys.contains(key) ? "Font" : "Detail", key);
    };
    QMap<QString, QString> before;
    for (const QString &key : order)
        before.insert(key, fileValue(key));
    settings.setValue("Pix", "No");
    IniFile closing(m_ini);
    QCOMPARE(settings.writeIniAtClose(closing), QString());
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QString key = order.at(i);
        const bool written = (fontKeys.contains(key) || closeKeys.contains(key))
                             && (i < stop || key == "Pix");
        QCOMPARE(fileValue(key), written ? settings.value(key) : before.value(key));
    }
    QCOMPARE(fileValue("Pix"), QString("No"));
}

void TestAppSettings::dateFormatInUse_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("qtFormat");
    QTest::newRow("day first") << "dd/mm/yyyy" << "dd/mm/yyyy" << "dd/MM/yyyy";
    QTest::newRow("month first") << "mm/dd/yyyy" << "mm/dd/yyyy" << "MM/dd/yyyy";
    QTest::newRow("year first") << "yyyy-mm-dd" << "dd/mm/yyyy" << "dd/MM/yyyy";
    QTest::newRow("upper case") << "MM/DD/YYYY" << "dd/mm/yyyy" << "dd/MM/yyyy";
    QTest::newRow("empty") << "" << "dd/mm/yyyy" << "dd/MM/yyyy";
}

void TestAppSettings::dateFormatInUse()
{
    QFETCH(QString, stored);
    QFETCH(QString, format);
    QFETCH(QString, qtFormat);
    {
        IniFile ini(m_ini);
        QVERIFY(ini.writeString("Detail", "DateFormat", stored));
        QVERIFY(ini.save());
    }
    AppSettings settings;
    IniFile ini(m_ini);
    QCOMPARE(settings.readIni(ini), QString());
    QCOMPARE(settings.dateFormat(), format);
    QCOMPARE(settings.qtDateFormat(), qtFormat);
    settings.normaliseDateFormat();
    QCOMPARE(settings.value("DateFormat"), format);
}

void TestAppSettings::configurationAndTaxationWriters()
{
    AppSettings settings;
    settings.setValue("VAT", "GST");
    settings.setValue("E7", "changed");
    settings.setValue("Alpha", "Colour");
    settings.setValue("Expense%1", "90");
    IniFile ini(m_ini);
    QCOMPARE(settings.writeIniConfiguration(ini), QString());
    QCOMPARE(settings.value("E7"), QString("Tax Free"));

    const QStringList configuration{"DateFormat", "E1", "E2", "E3", "E4", "E5", "E6", "E7",
                                    "FiscalYr", "Health", "I1", "I2", "I3", "I4", "I5",
                                    "Alpha", "Number", "Money", "Levy", "Period", "Super",
                                    "TaxFileNo", "TIN/ABN#", "Vat"};
    QCOMPARE(IniFile(m_ini).keys("Detail"), configuration);
    const auto detail = iniSection(m_ini, "Detail");
    QCOMPARE(detail.value("Vat"), QString("GST"));
    QCOMPARE(detail.value("E7"), QString("Tax Free"));
    QCOMPARE(detail.value("I5"), QString("Tax Free"));

    IniFile taxation(m_ini);
    QCOMPARE(settings.writeIniTaxation(taxation), QString());
    const QStringList percentages{
        "Expense%1", "Expense%2", "Expense%3", "Expense%4", "Expense%5", "Expense%6",
        "Expense%7", "Expense%Office", "Expense%Other", "Expense%Phone", "Income%1",
        "Income%2", "Income%3", "Income%4", "Income%5", "Income%Interest", "Income%Salary"};
    QCOMPARE(IniFile(m_ini).keys("Detail"), configuration + percentages);
    QCOMPARE(iniSection(m_ini, "Detail").value("Expense%1"), QString("90"));

    // Changing Alpha survives a restart.
    AppSettings next;
    IniFile again(m_ini);
    QCOMPARE(next.readIni(again), QString());
    QCOMPARE(next.value("Alpha"), QString("Colour"));
    QCOMPARE(next.value("VAT"), QString("GST"));
}

void TestAppSettings::iniWriteFailures()
{
    AppSettings settings;
    settings.setValue("DateFormat", "mm/dd/yyyy");
    FailingIni ini(m_ini, QString());
    ini.failWrites = true;
    QCOMPARE(settings.writeIniTaxation(ini), QString("Exception: IniFile Write Error."));
    QCOMPARE(settings.value("DateFormat"), QString("mm/dd/yyyy"));
    QCOMPARE(settings.writeIniConfiguration(ini), QString("Exception: IniFile Write Error."));
    QCOMPARE(settings.value("DateFormat"), QString("dd/mm/yyyy"));
    QCOMPARE(settings.writeIniAtClose(ini), QString("Exception: IniFile Write Error."));
    QVERIFY(!QFile::exists(m_ini));
}

void TestAppSettings::fontsRoundTripThroughIni()
{
    AppSettings settings;
    FontChoice company{QFont("Georgia", 20), QColor(0, 0, 255)};
    company.font.setBold(true);
    company.font.setItalic(true);
    FontChoice others{QFont("Liberation Serif", 9), QColor(0x12, 0x34, 0x56)};
    others.font.setUnderline(true);
    others.font.setStrikeOut(true);
    settings.setFont(FontRole::Company, company);
    settings.setFont(FontRole::Others, others);
    IniFile ini(m_ini);
    QCOMPARE(settings.writeIniAtClose(ini), QString());

    const auto font = iniSection(m_ini, "Font");
    QCOMPARE(font.value("CompanyFont"), QString("Georgia"));
    QCOMPARE(font.value("CompanySize"), QString("20"));
    QCOMPARE(font.value("CompanyColor"), QString("clBlue"));
    QCOMPARE(font.value("CompanyFontStyle"), QString("3"));
    QCOMPARE(font.value("OthersColor"), QString("$00563412"));
    QCOMPARE(font.value("OthersFontStyle"), QString("12"));

    AppSettings next;
    IniFile again(m_ini);
    QCOMPARE(next.readIni(again), QString());
    const FontChoice c = next.font(FontRole::Company);
    QCOMPARE(c.font.family(), QString("Georgia"));
    QCOMPARE(c.font.pointSize(), 20);
    QVERIFY(c.font.bold() && c.font.italic() && !c.font.underline());
    QCOMPARE(c.color, QColor(0, 0, 255));
    const FontChoice o = next.font(FontRole::Others);
    QVERIFY(!o.font.bold() && o.font.underline() && o.font.strikeOut());
    QCOMPARE(o.color, QColor(0x12, 0x34, 0x56));

    // Business-card defaults: owner name Arial 14 bold blue, services Arial 10 bold italic.
    const FontChoice owner = next.font(FontRole::OwnerName);
    QCOMPARE(owner.font.pointSize(), 14);
    QVERIFY(owner.font.bold() && !owner.font.italic());
    QCOMPARE(owner.color, QColor(0, 0, 255));
    const FontChoice services = next.font(FontRole::Services);
    QVERIFY(services.font.bold() && services.font.italic());
    QCOMPARE(services.color, QColor(0, 128, 0));
}

void TestAppSettings::pixStrOverridesPix_data()
{
    QTest::addColumn<QString>("pix");
    QTest::addColumn<QString>("pixStr");
    QTest::addColumn<QString>("result");
    QTest::newRow("No wins over Yes") << "Yes" << "No" << "No";
    QTest::newRow("Yes wins over No") << "No" << "Yes" << "Yes";
    QTest::newRow("never stored keeps Pix") << "No" << "" << "No";
    QTest::newRow("nothing anywhere") << "" << "" << "Yes";
}

void TestAppSettings::pixStrOverridesPix()
{
    QFETCH(QString, pix);
    QFETCH(QString, pixStr);
    QFETCH(QString, result);
    if (!pix.isEmpty()) {
        IniFile ini(m_ini);
        QVERIFY(ini.writeString("Detail", "Pix", pix));
        QVERIFY(ini.save());
    }
    if (!pixStr.isEmpty()) {
        UserStore store(m_store);
        QVERIFY(store.write("PixStr", pixStr));
        QVERIFY(store.flush());
    }
    AppSettings settings;
    IniFile ini(m_ini);
    UserStore store(m_store);
    QCOMPARE(settings.readIni(ini), QString());
    QCOMPARE(settings.readUserStore(store), QString());
    QCOMPARE(settings.value("Pix"), result);
    QCOMPARE(settings.value("PixStr"), result);
    QCOMPARE(settings.showPictures(), result == "Yes");
}

void TestAppSettings::storeValuesAndEmptyDefaults()
{
    {
        QSettings raw(m_store, QSettings::IniFormat);
        raw.setValue("NameStr", "Jo Bloggs");
        raw.setValue("Grad1Str", "clTeal");
        raw.setValue("Grad3Str", "");
        raw.setValue("OwnerNameSizeStr", "18");
        raw.setValue("Lrate", "45");
        raw.setValue("Lhrs", "8");   // not read at start
    }
    AppSettings settings;
    UserStore store(m_store);
    QCOMPARE(settings.readUserStore(store), QString());
    QCOMPARE(settings.value("NameStr"), QString("Jo Bloggs"));
    QCOMPARE(settings.value("CoDetStr"), QString());   // missing reads as empty
    QCOMPARE(settings.value("AwardStr"), QString());
    QCOMPARE(settings.value("Grad1Str"), QString("clTeal"));
    QCOMPARE(settings.value("Grad2Str"), QString("65280"));
    QCOMPARE(settings.value("Grad3Str"), QString("$00BBFFFF"));
    QCOMPARE(settings.value("Grad4Str"), QString("$00FF9191"));
    QCOMPARE(settings.color("Grad2Str"), QColor(0, 255, 0));
    QCOMPARE(settings.color("Grad3Str"), QColor(255, 255, 0xBB));
    QCOMPARE(settings.value("OwnerNameSizeStr"), QString("18"));
    QCOMPARE(settings.value("OwnerNameFontStr"), QString("Arial"));
    QCOMPARE(settings.value("ServicesFontStyleStr"), QString("3"));
    QCOMPARE(settings.value("ServicesColorStr"), QString("clGreen"));
    QCOMPARE(settings.value("Lrate"), QString("45"));
    QCOMPARE(settings.value("Lhrs"), QString());

    // A fresh store: blue to lime with pale yellow grids.
    AppSettings first;
    UserStore none(m_dir.filePath("none.conf"));
    QCOMPARE(first.readUserStore(none), QString());
    QCOMPARE(first.color("Grad1Str"), QColor(0, 0, 255));
    QCOMPARE(first.color("Grad2Str"), QColor(0, 255, 0));
    QCOMPARE(first.color("Grad3Str"), QColor(255, 255, 0xBB));
}

void TestAppSettings::storeReadFailureAppliesFallbacks_data()
{
    QTest::addColumn<QString>("failAt");
    QTest::newRow("first value") << "NameStr";
    QTest::newRow("a colour") << "Grad2Str";
    QTest::newRow("a quote default") << "Pmarg";
}

void TestAppSettings::storeReadFailureAppliesFallbacks()
{
    QFETCH(QString, failAt);
    {
        QSettings raw(m_store, QSettings::IniFormat);
        for (const char *name : {"NameStr", "EntryStr", "LicStr", "Grad1Str", "QdayStr",
                                 "I9Str", "AwardStr", "OwnerNameSizeStr", "EmailStr"})
            raw.setValue(name, "stored");
        raw.setValue("Lrate", "45");
    }
    AppSettings settings;
    settings.setLettersFolder("/prog/Letters");
    IniFile ini(m_ini);
    {
        IniFile w(m_ini);
        QVERIFY(w.writeString("Detail", "Pix", "No"));
        QVERIFY(w.save());
    }
    QCOMPARE(settings.readIni(ini), QString());
    FailingStore store(m_store);
    store.failReadAt = failAt;
    store.readFailures = 1;   // the quote defaults' second reading succeeds
    QCOMPARE(settings.readUserStore(store), QString("Exception 02: Registry Read Error."));

    const QList<QPair<const char *, QString>> fallbacks{
        {"NameStr", "Your Name"},
        {"CoDetStr", "Trading Name and Co #  eg Smith & Sons Painting Pty Ltd  ACN 123 456 789"},
        {"Addr1Str", "Primary (Postal) Address  eg. PO Box 123,"},
        {"Addr2Str", "Secondary (St) Address, (if desired)"},
        {"Addr3Str", "Town."}, {"Addr4Str", "State."}, {"Addr5Str", "Nation / Postcode."},
        {"Addr6Str", "Suburb."}, {"HPhoneStr", "Home Phone #"}, {"WPhoneStr", "Work Phone"},
        {"MPhoneStr", "Cell Phone #"}, {"FaxStr", "Fax No"},
        {"EmailStr", "yourname@example.com"}, {"WebStr", "Web Address"}, {"LicStr", ""},
        {"ServicesStr", "On Bus Cards : Your Business"}, {"AwardStr", "15"},
        {"CasRateStr", "20"}, {"PFlagStr", "10"}, {"EntryStr", ""},
        {"MateStr", "/prog/Letters/Bas.Xls"}, {"PixStr", "Yes"}, {"Pix", "Yes"},
        {"QdayStr", "90"}, {"I6Str", "Supplied"}, {"I7Str", "Sales"}, {"I8Str", "Sale"},
        {"I9Str", "50"},
        {"R1Str", "Payable upon reciept of invoice  -  No Statement will be issued."},
        {"R2Str", "Thankyou for this payment."}, {"R3Str", "Payment is now overdue."},
        {"SuperFundStr", "SuperFund"}, {"Grad1Str", "clBlue"}, {"Grad2Str", "clLime"},
        {"Grad3Str", "$00BBFFFF"}, {"Grad4Str", "$00FF9191"},
        {"OwnerNameColorStr", "clBlue"}, {"OwnerNameFontStr", "Arial"},
        {"OwnerNameFontStyleStr", "1"}, {"OwnerNameSizeStr", "14"},
        {"ServicesColorStr", "clGreen"}, {"ServicesFontStr", "Arial"},
        {"ServicesFontStyleStr", "3"}, {"ServicesSizeStr", "10"},
        {"Lrate", "45"},   // read once more
    };
    for (const auto &[key, value] : fallbacks)
        QVERIFY2(settings.value(key) == value, key);
}

void TestAppSettings::storeReadFailureDoesNotOverwriteStoredValues()
{
    {
        QSettings raw(m_store, QSettings::IniFormat);
        raw.setValue("NameStr", "Jo Bloggs");
        raw.setValue("EntryStr", "secret");
        raw.setValue("WebStr", "old.example.com");
    }
    AppSettings settings;
    FailingStore store(m_store);
    store.failReadAt = "AwardStr";
    QCOMPARE(settings.readUserStore(store), QString("Exception 02: Registry Read Error."));
    // The page boxes hand back what they showed, and one was edited.
    settings.setValue("NameStr", settings.value("NameStr"));
    settings.setValue("WebStr", "new.example.com");
    QCOMPARE(settings.writeUserStore(store), QString());
    QCOMPARE(store.written, QStringList{"WebStr"});

    QSettings raw(m_store, QSettings::IniFormat);
    QCOMPARE(raw.value("NameStr").toString(), QString("Jo Bloggs"));
    QCOMPARE(raw.value("EntryStr").toString(), QString("secret"));
    QCOMPARE(raw.value("WebStr").toString(), QString("new.example.com"));
}

void TestAppSettings::storeWriters_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("failure");

    QTest::newRow("destruction")
        << 0
        << QStringList{"NameStr", "CoDetStr", "Addr1Str", "Addr2Str", "Addr3Str", "Addr4Str",
                       "Addr5Str", "Addr6Str", "HPhoneStr", "WPhoneStr", "MPhoneStr", "FaxStr",
                       "EmailStr", "WebStr", "LicStr", "ServicesStr", "AwardStr",
                       "CasRateStr", "PFlagStr", "EntryStr", "MateStr", "PixStr", "QdayStr",
                       "OwnerNameColorStr", "OwnerNameFontStr", "OwnerNameFontStyleStr",
                       "OwnerNameSizeStr", "ServicesColorStr", "ServicesFontStr",
                       "ServicesFontStyleStr", "ServicesSizeStr"}
        << "Registry Exception 02: Information Saving Failed.";
    QTest::newRow("configuration")
        << 1
        << QStringList{"I6Str", "I7Str", "I8Str", "I9Str", "R1Str", "R2Str", "R3Str",
                       "SuperFundStr"}
        << "Config Registry Exception 01: Information Saving Failed.";
    QTest::newRow("colours") << 2 << QStringList{"Grad1Str", "Grad2Str", "Grad3Str", "Grad4Str"}
                             << "Colour Config Exception 01: Information Saving Failed.";
    QTest::newRow("quote")
        << 3
        << QStringList{"Lrate", "Lmarg", "OHmarg", "Pmarg", "Lhrs", "C1", "C2", "C3", "C4",
                       "Sun1", "Sun2", "SunE1", "SunE2"}
        << "Registry Exception 05: Information Saving Failed.";
}

void TestAppSettings::storeWriters()
{
    QFETCH(int, writer);
    QFETCH(QStringList, names);
    QFETCH(QString, failure);

    auto run = [writer](AppSettings &s, UserStore &store) {
        switch (writer) {
        case 0: return s.writeUserStore(store);
        case 1: return s.writeUserStoreConfiguration(store);
        case 2: return s.writeUserStoreColours(store);
        default: return s.writeQuoteSet(store);
        }
    };
    AppSettings settings;
    for (const QString &name : names)
        settings.setValue(name, "v " + name);
    FailingStore store(m_store);
    QCOMPARE(run(settings, store), QString());
    QCOMPARE(store.written, names);

    AppSettings next;
    UserStore reread(m_store);
    if (writer == 3) {
        QCOMPARE(next.readQuoteSet(reread), QString());
        QCOMPARE(next.value("SunE2"), QString("v SunE2"));
    } else {
        QCOMPARE(next.readUserStore(reread), QString());
        QCOMPARE(next.value(names.first()), "v " + names.first());
    }

    FailingStore failing(m_store);
    failing.failWrites = true;
    QCOMPARE(run(settings, failing), failure);
    if (writer == 3) {
        failing.failReadAt = "C2";
        QCOMPARE(next.readQuoteSet(failing),
                 QString("Registry Exception 06: Information Loading Failed."));
    }
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
