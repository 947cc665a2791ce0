#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace Brelvan {

// The start-up password dialog: closes with OK only on the exact password.
class TPasswordDlg : public QDialog
{
    Q_OBJECT

public:
    TPasswordDlg(const QString &password, const QColor &panel, QWidget *parent = nullptr);

    // True when the user gave up: the program must end.
    bool loginFailed() const { return m_failed; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void okClicked();
    void cancelClicked();

    QString m_password;
    QLineEdit *m_info;
    bool m_failed = false;
    bool m_closing = false;
};

} // namespace Brelvan
