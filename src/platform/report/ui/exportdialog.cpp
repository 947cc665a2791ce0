#include "platform/report/ui/exportdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Brelvan {

ExportDialog::ExportDialog(int pageCount, int currentPage, QWidget *parent)
    : QDialog(parent), m_currentPage(currentPage)
{
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(QStringLiteral("Export Report"));

    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("FormatBox"));
    for (ExportFormat f : exportFormats())
        m_format->addItem(exportFormatName(f), int(f));

    auto *pages = new QGroupBox(QStringLiteral("Pages"), this);
    m_all = new QRadioButton(QStringLiteral("All pages"), pages);
    m_all->setObjectName(QStringLiteral("AllPagesBtn"));
    m_all->setChecked(true);
    m_current = new QRadioButton(QStringLiteral("Current page"), pages);
    m_current->setObjectName(QStringLiteral("CurrentPageBtn"));
    m_range = new QRadioButton(QStringLiteral("Pages from"), pages);
    m_range->setObjectName(QStringLiteral("RangeBtn"));
    m_from = new QSpinBox(pages);
    m_from->setObjectName(QStringLiteral("FromPage"));
    m_to = new QSpinBox(pages);
    m_to->setObjectName(QStringLiteral("ToPage"));
    for (QSpinBox *box : {m_from, m_to})
        box->setRange(1, qMax(1, pageCount));
    m_from->setValue(1);
    m_to->setValue(qMax(1, pageCount));
    auto enableRange = [this] {
        m_from->setEnabled(m_range->isChecked());
        m_to->setEnabled(m_range->isChecked());
    };
    connect(m_range, &QRadioButton::toggled, this, enableRange);
    enableRange();
    connect(m_from, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_to->value() < v)
            m_to->setValue(v);
    });
    connect(m_to, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_from->value() > v)
            m_from->setValue(v);
    });

    auto *rangeRow = new QHBoxLayout;
    rangeRow->addWidget(m_range);
    rangeRow->addWidget(m_from);
    rangeRow->addWidget(new QLabel(QStringLiteral("to"), pages));
    rangeRow->addWidget(m_to);
    rangeRow->addStretch();
    auto *pageLayout = new QVBoxLayout(pages);
    pageLayout->addWidget(m_all);
    pageLayout->addWidget(m_current);
    pageLayout->addLayout(rangeRow);

    m_open = new QCheckBox(QStringLiteral("Open the file afterwards"), this);
    m_open->setObjectName(QStringLiteral("OpenAfterwards"));
    m_open->setChecked(true);
    m_mail = new QCheckBox(QStringLiteral("E-mail the file afterwards"), this);
    m_mail->setObjectName(QStringLiteral("MailAfterwards"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Format"), m_format);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pages);
    layout->addWidget(m_open);
    layout->addWidget(m_mail);
    layout->addWidget(buttons);
}

ExportFormat ExportDialog::format() const
{
    return ExportFormat(m_format->currentData().toInt());
}

void ExportDialog::setFormat(ExportFormat format)
{
    m_format->setCurrentIndex(m_format->findData(int(format)));
}

ExportOptions ExportDialog::options() const
{
    ExportOptions options;
    if (m_current->isChecked()) {
        options.firstPage = options.lastPage = m_currentPage;
    } else if (m_range->isChecked()) {
        options.firstPage = m_from->value();
        options.lastPage = m_to->value();
    }
    options.openAfterwards = m_open->isChecked();
    options.mailAfterwards = m_mail->isChecked();
    return options;
}

} // namespace Brelvan
