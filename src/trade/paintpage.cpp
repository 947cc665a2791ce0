#include "trade/paintpage.h"

#include "platform/widgets/shapebutton.h"
#include "trade/paintpagespec.h"

namespace Brelvan {

PaintPage *createPaintPage(MainAccess &main)
{
    return new PaintPage(main);
}

PaintPage::PaintPage(MainAccess &main) : RecordPage(main, paintPageSpec()) {}

void PaintPage::applySelection()
{
    // every selection on this page flips the All button's look first
    flip(allButton());
    RecordPage::applySelection();
}

void PaintPage::startUp()
{
    RecordPage::startUp();
    // the show sequence dresses the All button in the highlight colours after bringing
    // every page to its full record set, whatever the selection's flip left
    allButton()->setGradient(settingColor(QStringLiteral("Grad2Str")),
                             settingColor(QStringLiteral("Grad1Str")));
}

} // namespace Brelvan
