#include "shell/tpassworddlg.h"

#include "platform/desktop/dialogs.h"
#include "platform/widgets/hint.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace Brelvan {

TPasswordDlg::TPasswordDlg(const QString &password, const QColor &panel, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_password(password)
{
    setObjectName(QStringLiteral("TPasswordDlg"));
    setWindowTitle(QStringLiteral(" Password  Required"));
    setModal(true);
    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("BodyPanel"));
    body->setAutoFillBackground(true);
    QPalette pal = body->palette();
    pal.setColor(QPalette::Window, panel);
    body->setPalette(pal);
    auto *label = new QLabel(QStringLiteral("Enter Password  ( Case Sensitive )"), body);
    m_info = new QLineEdit(body);
    m_info->setObjectName(QStringLiteral("PasswordInfo"));
    m_info->setEchoMode(QLineEdit::Password);
    setHint(m_info, QStringLiteral("Enter Password  ( Case Sensitive )"));
    auto *ok = new QPushButton(QStringLiteral("&OK   "), body);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel  "), body);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto *status = new QStatusBar(this);
    auto *bl = new QVBoxLayout(body);
    bl->addWidget(label);
    bl->addWidget(m_info);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    bl->addLayout(buttons);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(body);
    l->addWidget(status);
    connect(ok, &QPushButton::clicked, this, &TPasswordDlg::okClicked);
    connect(cancel, &QPushButton::clicked, this, &TPasswordDlg::cancelClicked);
    resize(340, 150);
}

void TPasswordDlg::okClicked()
{
    if (!m_info->text().isEmpty() && m_info->text() == m_password) {
        m_closing = true;
        accept();
        return;
    }
    dialogs().warning(QStringLiteral("You MUST enter the correct PASSWORD."));
}

void TPasswordDlg::cancelClicked()
{
    dialogs().error(QStringLiteral("Login Failed"));
    m_failed = true;
    m_closing = true;
    reject();
}

void TPasswordDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the dialog behind the password's back
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPasswordDlg::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    // Alt+F4 or the window manager: not a way past the password
    QApplication::beep();
    dialogs().error(QStringLiteral("You are NOT permitted to close the form this way."));
    dialogs().information(QStringLiteral("Login Failed"));
    m_failed = true;
    m_closing = true;
    event->accept();
    reject();
}

} // namespace Brelvan
