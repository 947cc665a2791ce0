#pragma once

#include <QDialog>

class QFileSystemModel;
class QTreeView;

namespace Brelvan {

class GradientPanel;
class ShapeButton;

// The data folder chooser. Only the chosen folder's name is kept: the data folder is
// always that name below the program folder.
class TDirectForm : public QDialog
{
    Q_OBJECT

public:
    TDirectForm(const QString &dataFolder, const QColor &grad1, const QColor &grad2,
                const QColor &grad3, QWidget *parent = nullptr);

    // The display name of the selected folder; empty when none was selected.
    QString selectedName() const;
    // The chosen folder's full path; empty when none is chosen.
    QString selectedPath() const;
    QTreeView *tree() const { return m_tree; }

private:
    void selectionChanged();

    QFileSystemModel *m_model;
    QTreeView *m_tree;
    GradientPanel *m_head;
    ShapeButton *m_close;
};

} // namespace Brelvan
