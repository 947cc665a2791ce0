#pragma once

#include <QAbstractTableModel>

namespace Brelvan::Table {
class Dataset;
}

namespace Brelvan {

// The diary grid's view of the source in use (Diary or DiaryQ): the Tag column, centred,
// and the DATE column titled "Date ". The page points it at the other source on a switch.
class DiaryGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DiaryGridModel(QObject *parent = nullptr);

    void setDataset(Table::Dataset *dataset);
    Table::Dataset *dataset() const { return m_ds; }
    // The dataset field a column shows.
    QString fieldOf(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Typing in a cell edits that record and posts it.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    void reset();

    Table::Dataset *m_ds = nullptr;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace Brelvan
