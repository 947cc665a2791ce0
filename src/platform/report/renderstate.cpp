#include "platform/report/renderstate.h"

namespace Brelvan {

RenderState::~RenderState() = default;

int RenderState::scopedCount() const
{
    switch (bandKind()) {
    case BandKind::GroupHeader:
    case BandKind::GroupFooter:
        return groupCount(groupLevel());
    case BandKind::PageHeader:
    case BandKind::PageFooter:
        return pageDetailCount();
    default:
        return detailCount();
    }
}

double RenderState::scopedSum(const QString &field) const
{
    switch (bandKind()) {
    case BandKind::GroupHeader:
    case BandKind::GroupFooter:
        return groupSum(groupLevel(), field);
    case BandKind::PageHeader:
    case BandKind::PageFooter:
        return pageSum(field);
    default:
        return sum(field);
    }
}

} // namespace Brelvan
