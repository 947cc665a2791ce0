#pragma once

#include "platform/report/band.h"

#include <QStringList>

namespace Brelvan {

// A break in the detail records whenever the key changes: a header before the group's
// first record, a footer after its last, with the group's own count and sums.
class Group
{
public:
    using Key = std::function<QVariant(const RenderState &)>;

    explicit Group(const QString &field);
    explicit Group(Key key);

    Band &header() { return m_header; }
    Band &footer() { return m_footer; }
    const Band &header() const { return m_header; }
    const Band &footer() const { return m_footer; }

    // Fields a footer may read by code; they keep the group's last record's values.
    Group &keepFields(const QStringList &fields) { m_keep += fields; return *this; }
    const QStringList &keptFields() const { return m_keep; }

    QVariant key(const RenderState &state) const { return m_key(state); }

private:
    Key m_key;
    Band m_header{BandKind::GroupHeader};
    Band m_footer{BandKind::GroupFooter};
    QStringList m_keep;
};

} // namespace Brelvan
