#pragma once

#include "platform/desktop/dialogs.h"

class QWidget;

namespace Brelvan {

// The dialogs the program shows: Qt's message, input, file, font, colour and folder
// dialogs over the active window.
class QtDialogs final : public Dialogs
{
public:
    void message(Kind kind, const QString &text, const QString &caption = {}) override;
    void detailedMessage(Kind kind, const QString &text, const QString &detail) override;
    bool confirm(const QString &text, const QString &caption = {}) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &preset) override;
    QString openFile(const QString &caption, const QString &folder, const QString &filter,
                     const QString &fileName) override;
    QString saveFile(const QString &caption, const QString &folder, const QString &filter,
                     const QString &fileName) override;
    std::optional<FontChoice> font(const FontChoice &initial) override;
    std::optional<QColor> colour(const QColor &initial) override;
    QString folder(const QString &caption, const QString &start) override;

    // The window the dialogs belong to: the modal window in front, else the active one.
    static QWidget *parentWindow();

private:
    static void showMessage(Kind kind, const QString &text, const QString &caption,
                            const QString &detail);
};

// Returns a file filter in Qt's "Text (*.txt);;All (*)" form; the program's filters come
// in the "Text|*.Txt|All|*.*" form (description, pattern list, ...), patterns split by ';'.
QString qtFileFilter(const QString &filter);

} // namespace Brelvan
