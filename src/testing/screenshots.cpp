#include "testing/screenshots.h"

#include "data/ui/page.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTest>

namespace Brelvan::Testing {

int writePageScreenshots(const QString &dir, QSize size)
{
    if (!QDir().mkpath(dir))
        return 0;
    Fixture f;
    f.setNow(QDateTime(QDate(2026, 3, 16), QTime(9, 30)));
    f.start();
    f.mainForm()->resize(size);
    int written = 0;
    for (int i = 0; i < pageCount; ++i) {
        f.form()->goToPage(Page(i));
        QTest::qWait(50);
        const QString name = f.form()->pages()->tabText(i);
        const QImage shot = f.mainForm()->grab().toImage().convertToFormat(QImage::Format_RGB888);
        if (shot.save(QDir(dir).filePath(name + QStringLiteral(".png"))))
            ++written;
    }
    f.close();
    return written;
}

} // namespace Brelvan::Testing
