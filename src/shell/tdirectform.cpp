#include "shell/tdirectform.h"

#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

namespace Brelvan {

TDirectForm::TDirectForm(const QString &dataFolder, const QColor &grad1, const QColor &grad2,
                         const QColor &grad3, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TDirectForm"));
    setWindowTitle(QStringLiteral(" Select a Data Folder containing Valid Data Files"));
    m_head = new GradientPanel(this);
    m_head->setObjectName(QStringLiteral("HeadPanel"));
    m_head->setGradient(grad1, grad2);
    m_head->setCaption(QStringLiteral("Current  Data  Folder"));
    m_head->setCaptionColor(Qt::white);
    m_head->setMinimumHeight(40);
    m_close = new ShapeButton(QStringLiteral("Close "), m_head);
    m_close->setObjectName(QStringLiteral("CloseBtn"));
    m_close->setGradient(grad2, grad1);
    auto *hl = new QHBoxLayout(m_head);
    hl->addStretch();
    hl->addWidget(m_close);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("ShellTreeView"));
    m_tree->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->header()->hide();
    QPalette pal = m_tree->palette();
    pal.setColor(QPalette::Base, grad3);
    m_tree->setPalette(pal);
    setHint(m_tree, QStringLiteral("New Folder  MUST  contain Valid Data Files"));
    const QModelIndex start = m_model->index(dataFolder);
    if (start.isValid()) {
        m_tree->setCurrentIndex(start);
        m_tree->scrollTo(start);
    }
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { selectionChanged(); });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(m_head);
    l->addWidget(m_tree, 1);
    resize(480, 520);
}

void TDirectForm::selectionChanged()
{
    m_head->setCaption(QStringLiteral("Selected  Data  Folder  =  ") + selectedName());
    m_close->setText(QStringLiteral("OK"));
}

QString TDirectForm::selectedPath() const
{
    const QModelIndex i = m_tree->currentIndex();
    return i.isValid() ? m_model->filePath(i) : QString();
}

QString TDirectForm::selectedName() const
{
    const QModelIndex i = m_tree->currentIndex();
    return i.isValid() ? m_model->fileName(i) : QString();
}

} // namespace Brelvan
