// Every caption shows whole: at the design size of 1024 x 768 and on a larger screen, the
// text of each button, label and check box of every page fits its control.
#include "data/ui/page.h"
#include "shell/tmainform.h"
#include "testing/fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

using namespace Brelvan;
using Brelvan::Testing::Fixture;

namespace {

// The width the text of w needs, and the width it has; {0, 0} for controls not checked.
QPair<int, int> needAndRoom(QWidget *w)
{
    const QFontMetrics fm(w->font());
    auto longest = [&fm](const QString &text) {
        int widest = 0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            widest = qMax(widest, fm.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
        return widest;
    };
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()
            || Qt::mightBeRichText(label->text()))
            return {0, 0};
        return {longest(label->text()), label->contentsRect().width() - 2 * label->margin()};
    }
    if (auto *box = qobject_cast<QCheckBox *>(w)) {
        const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
                              + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing,
                                                          nullptr, box);
        return {longest(box->text()) + indicator, box->width()};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (button->text().isEmpty())
            return {0, 0};
        int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        // a little room on either side of the text, as the buttons draw it
        return {longest(button->text()) + icon + 4, button->width()};
    }
    return {0, 0};
}

} // namespace

class TestCaptions : public QObject
{
    Q_OBJECT

private slots:
    void everyCaptionFits_data();
    void everyCaptionFits();
};

void TestCaptions::everyCaptionFits_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("1600 x 1000") << QSize(1600, 1000);
}

void TestCaptions::everyCaptionFits()
{
    QFETCH(QSize, size);
    Fixture f;
    f.start();
    f.mainForm()->resize(size);
    QStringList cut;
    for (int i = 0; i < pageCount; ++i) {
        const auto page = Page(i);
        f.form()->goToPage(page);
        QTest::qWait(20);
        QWidget *tab = f.form()->tab(page);
        QList<QPair<QWidget *, QRect>> placed;
        for (QWidget *w : tab->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(f.mainForm()))
                continue;
            const QString what = QStringLiteral("%1 %2 \"%3\"")
                                     .arg(tab->objectName(), w->objectName(),
                                          w->property("text").toString());
            const auto [need, room] = needAndRoom(w);
            if (need > room)
                cut << QStringLiteral("%1: needs %2 px, has %3").arg(what).arg(need).arg(room);
            if (need == 0)
                continue;
            // a control pushed out of its strip or under a neighbour is cut all the same
            const QRect r(w->mapTo(tab, QPoint(0, 0)), w->size());
            QWidget *strip = w->parentWidget();
            const QRect inStrip(w->pos(), w->size());
            if (!strip->rect().contains(inStrip) || !tab->rect().contains(r))
                cut << what + QStringLiteral(": outside its strip");
            for (const auto &[other, rect] : std::as_const(placed)) {
                if (rect.intersects(r) && !other->isAncestorOf(w) && !w->isAncestorOf(other))
                    cut << what + QStringLiteral(": under ") + other->objectName();
            }
            placed.append({w, r});
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

BRELVAN_TEST_MAIN(TestCaptions)
#include "tst_captions.moc"
