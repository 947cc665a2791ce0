#include "platform/desktop/ui/qtdialogs.h"

#include "platform/desktop/ui/fontcolourdialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace Brelvan {

namespace {

QString captionOr(const QString &caption)
{
    return caption.isEmpty() ? QStringLiteral("Brelvan") : caption;
}

QString startPath(const QString &folder, const QString &fileName)
{
    if (fileName.isEmpty())
        return folder;
    if (folder.isEmpty() || QDir::isAbsolutePath(fileName))
        return fileName;
    return QDir(folder).filePath(fileName);
}

// A long walk shows the hourglass; a question asked in the middle of one should not.
class ArrowWhileAsking
{
public:
    ArrowWhileAsking()
        : m_pushed(QApplication::overrideCursor() != nullptr)
    {
        if (m_pushed)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (m_pushed)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking &) = delete;
    ArrowWhileAsking &operator=(const ArrowWhileAsking &) = delete;

private:
    bool m_pushed;
};

} // namespace

QString qtFileFilter(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = i + 1 < parts.size()
                                   ? parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)
                                   : QStringList();
        for (QString &p : patterns) {
            p = p.trimmed();
            // "*.*" means every file on Windows; Qt would want a dot in the name.
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        if (description.endsWith(QLatin1Char(')')))
            filters.append(description);
        else
            filters.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget *QtDialogs::parentWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void QtDialogs::message(Kind kind, const QString &text, const QString &caption)
{
    showMessage(kind, text, caption, {});
}

void QtDialogs::detailedMessage(Kind kind, const QString &text, const QString &detail)
{
    showMessage(kind, text, {}, detail);
}

void QtDialogs::showMessage(Kind kind, const QString &text, const QString &caption,
                            const QString &detail)
{
    const ArrowWhileAsking arrow;
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case Kind::Information: icon = QMessageBox::Information; break;
    case Kind::Warning: icon = QMessageBox::Warning; break;
    case Kind::Error: icon = QMessageBox::Critical; break;
    case Kind::Confirmation: icon = QMessageBox::Question; break;
    }
    QMessageBox box(icon, captionOr(caption), text, QMessageBox::Ok, parentWindow());
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

bool QtDialogs::confirm(const QString &text, const QString &caption)
{
    const ArrowWhileAsking arrow;
    QMessageBox box(QMessageBox::Question, captionOr(caption), text,
                    QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::input(const QString &caption, const QString &prompt,
                                        const QString &preset)
{
    const ArrowWhileAsking arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(parentWindow(), captionOr(caption), prompt,
                                               QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFile(const QString &caption, const QString &folder,
                            const QString &filter, const QString &fileName)
{
    const ArrowWhileAsking arrow;
    return QFileDialog::getOpenFileName(parentWindow(), captionOr(caption),
                                        startPath(folder, fileName), qtFileFilter(filter));
}

QString QtDialogs::saveFile(const QString &caption, const QString &folder,
                            const QString &filter, const QString &fileName)
{
    const ArrowWhileAsking arrow;
    return QFileDialog::getSaveFileName(parentWindow(), captionOr(caption),
                                        startPath(folder, fileName), qtFileFilter(filter));
}

std::optional<FontChoice> QtDialogs::font(const FontChoice &initial)
{
    const ArrowWhileAsking arrow;
    FontColourDialog dialog(initial, parentWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::optional<QColor> QtDialogs::colour(const QColor &initial)
{
    const ArrowWhileAsking arrow;
    const QColor chosen = QColorDialog::getColor(initial, parentWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QString QtDialogs::folder(const QString &caption, const QString &start)
{
    const ArrowWhileAsking arrow;
    return QFileDialog::getExistingDirectory(parentWindow(), captionOr(caption), start);
}

} // namespace Brelvan
