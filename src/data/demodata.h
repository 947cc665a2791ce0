#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace Brelvan {

namespace Table {
class Database;
}

// The sample business: a small painting contractor in Brisbane. The same records come out
// for the same date, so tests and screenshots can rely on them.

// Fills the empty tables of db with about two years of the business up to the day before
// today, all or nothing. Throws Table::EngineError when the tables already hold records or
// a write fails; the tables are then as they were.
void fillDemoData(Table::Database &db, const QDate &today);

// Writes the files the program reads from its own folder: Letters/QuoteSpec.Txt,
// Letters/SundrySpec.Txt, Letters/Letter1.Txt, Logo.JPG and Data/ToDo.Txt. A file that
// already exists is the user's and is kept. Needs a QGuiApplication for the logo's text.
// Returns false with *error set when a file cannot be written; *written lists the files
// made and *kept the ones left alone, as paths relative to programFolder.
bool writeProgramFolderFiles(const QString &programFolder, QString *error = nullptr,
                             QStringList *written = nullptr, QStringList *kept = nullptr);

// The record counts fillDemoData makes, for messages and tests.
struct DemoCounts
{
    static constexpr int Clients = 40;
    static constexpr int Expenses = 300;
    static constexpr int Incomes = 150;
    static constexpr int Paints = 30;
    static constexpr int Quotes = 10;
    static constexpr int Jobs = 6;
    static constexpr int Pays = 60;
    static constexpr int InventoryLots = 20;
    static constexpr int DiaryDays = 100;
};

} // namespace Brelvan
