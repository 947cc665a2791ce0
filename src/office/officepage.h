#pragma once

#include "platform/desktop/dialogs.h"

#include <QWidget>

#include <map>

class QLabel;
class QLineEdit;

namespace Brelvan {

class AppSettings;
class GradientPanel;
class MainAccess;
class ShapeButton;

// The Office page: the owner details every report prints, and the four report fonts,
// which live in the edits themselves.
class OfficePage : public QWidget
{
    Q_OBJECT

public:
    explicit OfficePage(QWidget *parent = nullptr);

    // OwnerName, Co, CoDet, ABN, Addr1..Addr6, HPhone, WPhone, MPhone, Fax, Email, Web,
    // Services, Lic
    static const QStringList &editNames();
    // The edits, their fonts and the tax label from the settings in memory, and back.
    void readSettings(const AppSettings &settings);
    void writeSettings(AppSettings &settings) const;
    QLineEdit *edit(const QString &name) const;
    QString text(const QString &name) const;
    void setText(const QString &name, const QString &text);

    // The label of the tax number edit follows the TIN/ABN# setting.
    void setTaxLabel(const QString &label);
    QString taxLabel() const;

    // Fonts: OwnerName, Co, Services and CoDet hold them; CoDet's is given to the others.
    FontChoice fontOf(const QString &editName) const;
    void setFontOf(const QString &editName, const FontChoice &font);
    void setColours(const QColor &grad1, const QColor &grad2, const QColor &grad3);
    GradientPanel *ownerPanel() const { return m_panel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fontButton(int which);
    QStringList servedBy(int which) const;

    GradientPanel *m_panel;
    std::map<QString, QLineEdit *> m_edits;
    std::map<QString, QColor> m_colours;
    QLabel *m_taxLabel = nullptr;
    ShapeButton *m_fontBtns[4] = {};
    QColor m_grad1, m_grad2, m_grad3;
};

// Fills the Office tab of the main window.
OfficePage *createOfficePage(MainAccess &main);

} // namespace Brelvan
