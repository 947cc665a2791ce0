#include "platform/report/group.h"

namespace Brelvan {

Group::Group(const QString &field)
    : m_key([field](const RenderState &state) { return state.value(field); })
{
}

Group::Group(Key key) : m_key(std::move(key)) {}

} // namespace Brelvan
