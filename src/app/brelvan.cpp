#include "platform/desktop/ui/qtdialogs.h"
#include "platform/report/ui/previewviewer.h"
#include "shell/application.h"
#include "shell/terminationwatch.h"
#include "shell/tmainform.h"

#include <memory>

int main(int argc, char **argv)
{
    Brelvan::Application app(argc, argv);
    Brelvan::QtDialogs dialogs;
    Brelvan::installDialogs(&dialogs);
    Brelvan::PreviewViewer viewer;
    Brelvan::installReportViewer(&viewer);

    auto form = std::make_unique<Brelvan::TMainForm>(Brelvan::AppValues::fromEnvironment());
    if (!form->create())
        return 0;
    Brelvan::TerminationWatch watch;
    QObject::connect(&watch, &Brelvan::TerminationWatch::terminationRequested, form.get(),
                     &QWidget::close);
    form->show();
    form->activateWindow();
    const int rc = app.exec();
    form.reset(); // the destruction sequence writes the per-user values
    return rc;
}
