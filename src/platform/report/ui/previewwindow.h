#pragma once

#include "platform/report/document.h"
#include "platform/report/exporter.h"

#include <QDialog>
#include <QPrinter>

class QLabel;
class QScrollArea;
class QToolButton;

namespace Brelvan {

class PageView;

// The report preview: pages at a zoom, page moves, printer set-up, print, save and load
// of the report in our own format, and export to the other formats.
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    enum class ZoomMode { Fit, Width, Fixed };

    explicit PreviewWindow(const Document &doc, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    const Document &document() const { return m_doc; }
    int currentPage() const { return m_page; } // 0-based
    ZoomMode zoomMode() const { return m_mode; }
    double zoom() const;
    QPrinter &printer() { return m_printer; }

    void zoomToFit();
    void zoomTo100();
    void zoomToWidth();
    void firstPage() { showPage(0); }
    void priorPage() { showPage(m_page - 1); }
    void nextPage() { showPage(m_page + 1); }
    void lastPage() { showPage(m_doc.pageCount() - 1); }
    void showPage(int index);

    void printerSetup();
    void print();
    // Ask for a file through the program's dialogs and act on it.
    void saveReport();
    void loadReport();
    void exportReport();
    // Exports without asking for format and pages; asks only for the file.
    void exportAs(ExportFormat format, const ExportOptions &options);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QToolButton *addButton(const QString &name, const QString &text, const QString &hint,
                           void (PreviewWindow::*slot)());
    void applyZoom();
    void updateControls();
    QString suggestedName(const QString &suffix) const;

    Document m_doc;
    QPrinter m_printer;
    int m_page = 0;
    ZoomMode m_mode = ZoomMode::Fit;
    double m_fixedZoom = 1.0;
    PageView *m_view;
    QScrollArea *m_area;
    QLabel *m_pageLabel;
    QWidget *m_toolbar;
    QList<QToolButton *> m_moveButtons;
};

} // namespace Brelvan
