#include "platform/report/ui/previewwindow.h"

#include "platform/desktop/dialogs.h"
#include "platform/desktop/shell.h"
#include "platform/report/exporter.h"
#include "platform/report/printing.h"
#include "platform/report/ui/exportdialog.h"
#include "platform/report/ui/pageview.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace Brelvan {

namespace {

const char *const ReportFilter = "Brelvan report (*.brp)";

// The folder the last report file was saved in or loaded from, for this run.
QString &lastFolder()
{
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QString withSuffix(const QString &path, const QString &suffix)
{
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0
               ? path
               : path + QLatin1Char('.') + suffix;
}

} // namespace

PreviewWindow::PreviewWindow(const Document &doc, QWidget *parent)
    : QDialog(parent), m_doc(doc), m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    m_toolbar = new QWidget(this);
    auto *bar = new QHBoxLayout(m_toolbar);
    bar->setContentsMargins(4, 4, 4, 4);
    bar->addWidget(addButton("ZoomFitBtn", "Fit", "Zoom to fit the page",
                             &PreviewWindow::zoomToFit));
    bar->addWidget(addButton("Zoom100Btn", "100 %", "Actual size", &PreviewWindow::zoomTo100));
    bar->addWidget(addButton("ZoomWidthBtn", "Width", "Zoom to the page width",
                             &PreviewWindow::zoomToWidth));
    bar->addSpacing(12);
    m_moveButtons = {
        addButton("FirstPageBtn", "|<", "First page", &PreviewWindow::firstPage),
        addButton("PriorPageBtn", "<", "Previous page", &PreviewWindow::priorPage),
        addButton("NextPageBtn", ">", "Next page", &PreviewWindow::nextPage),
        addButton("LastPageBtn", ">|", "Last page", &PreviewWindow::lastPage),
    };
    for (QToolButton *b : m_moveButtons)
        bar->addWidget(b);
    m_pageLabel = new QLabel(m_toolbar);
    m_pageLabel->setObjectName(QStringLiteral("PageLabel"));
    m_pageLabel->setMinimumWidth(110);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->insertWidget(bar->count() - 2, m_pageLabel);
    bar->addSpacing(12);
    bar->addWidget(addButton("PrinterSetupBtn", "Printer Setup", "Printer and page set-up",
                             &PreviewWindow::printerSetup));
    bar->addWidget(addButton("PrintBtn", "Print", "Print the report", &PreviewWindow::print));
    bar->addSpacing(12);
    bar->addWidget(addButton("SaveBtn", "Save", "Save the report to a file",
                             &PreviewWindow::saveReport));
    bar->addWidget(addButton("LoadBtn", "Load", "Load a saved report",
                             &PreviewWindow::loadReport));
    bar->addWidget(addButton("ExportBtn", "Export", "Export the report as PDF, HTML, RTF, "
                                                    "spreadsheet, text or picture",
                             &PreviewWindow::exportReport));
    bar->addStretch();
    auto *close = new QToolButton(m_toolbar);
    close->setObjectName(QStringLiteral("CloseBtn"));
    close->setText(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close the preview"));
    connect(close, &QToolButton::clicked, this, &QDialog::accept);
    bar->addWidget(close);

    m_view = new PageView;
    m_view->setDocument(&m_doc);
    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("PageArea"));
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_area->setWidget(m_view);
    m_area->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_area, 1);

    resize(1000, 760);
    showPage(0);
    applyZoom();
}

PreviewWindow::~PreviewWindow() = default;

QToolButton *PreviewWindow::addButton(const QString &name, const QString &text,
                                      const QString &hint, void (PreviewWindow::*slot)())
{
    auto *button = new QToolButton(m_toolbar);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAutoRaise(false);
    connect(button, &QToolButton::clicked, this, [this, slot] { (this->*slot)(); });
    return button;
}

double PreviewWindow::zoom() const
{
    return m_view->zoom();
}

void PreviewWindow::zoomToFit()
{
    m_mode = ZoomMode::Fit;
    applyZoom();
}

void PreviewWindow::zoomTo100()
{
    m_mode = ZoomMode::Fixed;
    m_fixedZoom = 1.0;
    applyZoom();
}

void PreviewWindow::zoomToWidth()
{
    m_mode = ZoomMode::Width;
    applyZoom();
}

void PreviewWindow::applyZoom()
{
    const QSize actual = m_view->pageSize(1.0);
    const QSize room = m_area->viewport()->size() - QSize(28, 28);
    double zoom = m_fixedZoom;
    if (actual.width() > 0 && actual.height() > 0 && room.width() > 0 && room.height() > 0) {
        const double byWidth = double(room.width()) / actual.width();
        const double byHeight = double(room.height()) / actual.height();
        if (m_mode == ZoomMode::Fit)
            zoom = qMin(byWidth, byHeight);
        else if (m_mode == ZoomMode::Width)
            zoom = byWidth - (m_area->verticalScrollBar()->sizeHint().width() + 2.0)
                                 / actual.width();
    }
    m_view->setZoom(zoom);
}

void PreviewWindow::showPage(int index)
{
    if (m_doc.pageCount() == 0)
        index = 0;
    else
        index = qBound(0, index, m_doc.pageCount() - 1);
    m_page = index;
    m_view->setPage(index);
    m_area->verticalScrollBar()->setValue(0);
    updateControls();
}

void PreviewWindow::updateControls()
{
    const int count = m_doc.pageCount();
    m_pageLabel->setText(count ? QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(count)
                               : QStringLiteral("No pages"));
    m_moveButtons.at(0)->setEnabled(m_page > 0);
    m_moveButtons.at(1)->setEnabled(m_page > 0);
    m_moveButtons.at(2)->setEnabled(m_page + 1 < count);
    m_moveButtons.at(3)->setEnabled(m_page + 1 < count);
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Fit and width follow the room the page has, whenever it changes.
    if (watched == m_area->viewport() && event->type() == QEvent::Resize
        && m_mode != ZoomMode::Fixed)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        nextPage();
        break;
    case Qt::Key_PageUp:
        priorPage();
        break;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier)
            firstPage();
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier)
            lastPage();
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
}

void PreviewWindow::printerSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

void PreviewWindow::print()
{
    if (m_doc.pageCount() == 0)
        return;
    QPrintDialog dialog(&m_printer, this);
    dialog.setMinMax(1, m_doc.pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printDocument(m_doc, m_printer))
        dialogs().error(QStringLiteral("The report could not be printed."));
}

QString PreviewWindow::suggestedName(const QString &suffix) const
{
    QString name = m_doc.title().isEmpty() ? QStringLiteral("Report") : m_doc.title();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    return name + QLatin1Char('.') + suffix;
}

void PreviewWindow::saveReport()
{
    QString path = dialogs().saveFile(QStringLiteral("Save Report"), lastFolder(),
                                      QString::fromLatin1(ReportFilter),
                                      suggestedName(QStringLiteral("brp")));
    if (path.isEmpty())
        return;
    path = withSuffix(path, QStringLiteral("brp"));
    lastFolder() = QFileInfo(path).absolutePath();
    QString error;
    if (!m_doc.saveToFile(path, &error))
        dialogs().error(QStringLiteral("The report could not be saved to \"%1\": %2")
                            .arg(QDir::toNativeSeparators(path), error));
}

void PreviewWindow::loadReport()
{
    const QString path = dialogs().openFile(QStringLiteral("Load Report"), lastFolder(),
                                            QString::fromLatin1(ReportFilter), QString());
    if (path.isEmpty())
        return;
    lastFolder() = QFileInfo(path).absolutePath();
    Document loaded;
    QString error;
    if (!loaded.loadFromFile(path, &error)) {
        dialogs().error(QStringLiteral("The report \"%1\" could not be loaded: %2")
                            .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_doc = loaded;
    m_view->setDocument(&m_doc);
    showPage(0);
    applyZoom();
}

void PreviewWindow::exportReport()
{
    ExportDialog dialog(m_doc.pageCount(), m_page + 1, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    exportAs(dialog.format(), dialog.options());
}

void PreviewWindow::exportAs(ExportFormat format, const ExportOptions &options)
{
    const QString suffix = exportSuffix(format);
    QString path = dialogs().saveFile(QStringLiteral("Export Report"), lastFolder(),
                                      exportFilter(format), suggestedName(suffix));
    if (path.isEmpty())
        return;
    path = withSuffix(path, suffix);
    lastFolder() = QFileInfo(path).absolutePath();
    const ExportResult result = exportDocument(m_doc, format, path, options);
    if (!result.ok) {
        dialogs().error(QStringLiteral("The report could not be exported: %1").arg(result.error));
        return;
    }
    if (options.mailAfterwards && !shell().mailFiles(result.files)) {
        QStringList names;
        for (const QString &file : result.files)
            names << QDir::toNativeSeparators(file);
        dialogs().information(
            QStringLiteral("No e-mail program could be started. The report was saved as:"
                           "\r\n\r\n%1\r\n\r\nAttach it to a new e-mail message from there.")
                .arg(names.join(QStringLiteral("\r\n"))));
    }
}

} // namespace Brelvan
