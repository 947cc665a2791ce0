#pragma once

#include "platform/report/exporter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace Brelvan {

// Asks what to export: the format, the pages and whether to open or e-mail the file
// afterwards.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    ExportDialog(int pageCount, int currentPage, QWidget *parent = nullptr);

    ExportFormat format() const;
    void setFormat(ExportFormat format);
    ExportOptions options() const;

private:
    QComboBox *m_format;
    QRadioButton *m_all;
    QRadioButton *m_current;
    QRadioButton *m_range;
    QSpinBox *m_from;
    QSpinBox *m_to;
    QCheckBox *m_open;
    QCheckBox *m_mail;
    int m_currentPage;
};

} // namespace Brelvan
