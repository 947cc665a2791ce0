#pragma once

#include "platform/desktop/scripteddialogs.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace Brelvan {
class TMainForm;
}

namespace Brelvan::Testing {

// A report as the program previewed it.
struct RenderedReport
{
    QString formClass;
    QString title;
    QStringList pages; // the text of each page
};

// Drives the real main window headless: a temporary program folder with a data folder made
// as brelvan-data makes one, scripted dialogs, a fixed clock and a per-user store of its own.
class Fixture
{
public:
    enum Kind { Demo, EmptyTables, NoDataFolder };

    explicit Fixture(Kind kind = Demo);
    // Over a program folder the test owns: one on a small disk, or another fixture's, for
    // two copies of the program on one data folder. Tables are made only when the folder
    // holds no data folder yet; the per-user store is the folder's, as for one user.
    Fixture(Kind kind, const QString &programFolder);
    // Restores the dialogs, clock and viewer that were in force before this fixture.
    ~Fixture();
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    // Makes this copy's dialogs, clock, store and viewer the ones in force: with two
    // fixtures at once, call it before driving the other copy.
    void use();

    void setNow(const QDateTime &now);
    void writeIni(const QString &section, const QString &key, const QString &value);
    void writeUserValue(const QString &name, const QString &value);

    // Creates, shows and activates TMainForm.
    void start();
    QWidget *mainForm() const;
    TMainForm *form() const { return m_form.get(); }
    // False when the program chose to end during start (a refused password, say).
    bool running() const;

    ScriptedDialogs &dialogs() { return m_dialogs; }
    QString programFolder() const;
    QString dataFolder() const;
    QList<RenderedReport> reports() const;

    // The close sequence, as the window's close button, then the destruction.
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TMainForm> m_form;
};

} // namespace Brelvan::Testing

// A test main that runs the tests inside the program's own application object, so that
// exceptions reaching the event loop are logged and shown as in the program.
#include "shell/application.h"
#include <QTest>
#define BRELVAN_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"            \
                                                                        : qgetenv("QT_QPA_PLATFORM")); \
        Brelvan::Application app(argc, argv);                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                 \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }
