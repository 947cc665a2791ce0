#include "platform/report/ui/previewviewer.h"

#include "platform/report/ui/previewwindow.h"

#include <QApplication>

namespace Brelvan {

void PreviewViewer::preview(const QString &formClass, const QString &title, const Document &doc)
{
    Document shown = doc;
    if (shown.title().isEmpty())
        shown.setTitle(title);
    PreviewWindow window(shown, QApplication::activeWindow());
    window.setProperty("formClass", formClass);
    window.exec();
}

} // namespace Brelvan
