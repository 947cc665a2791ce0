#include "office/officepage.h"

#include "data/appsettings.h"
#include "data/ui/mainaccess.h"
#include "reports/ownerblock.h"

#include "platform/widgets/gradientpanel.h"
#include "platform/widgets/hint.h"
#include "platform/widgets/shapebutton.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTimer>
#include <QVBoxLayout>

namespace Brelvan {

namespace {

// Each owner edit: its label (the tax number's follows the TIN/ABN# setting) and the
// per-user value it is read from and written to.
struct OwnerEdit
{
    const char *label;
    const char *setting;
};

const QMap<QString, OwnerEdit> ownerEdits = {
    {"OwnerName", {"Name", "NameStr"}},       {"Co", {"Company", "Company"}},
    {"CoDet", {"Co. Details", "CoDetStr"}},   {"ABN", {nullptr, "ABN"}},
    {"Addr1", {"Postal Address", "Addr1Str"}}, {"Addr2", {"Street Address", "Addr2Str"}},
    {"Addr6", {"Suburb", "Addr6Str"}},        {"Addr3", {"City / Province", "Addr3Str"}},
    {"Addr4", {"State", "Addr4Str"}},         {"Addr5", {"Nation / Zip", "Addr5Str"}},
    {"HPhone", {"A/H Phone", "HPhoneStr"}},   {"WPhone", {"Office Phone", "WPhoneStr"}},
    {"MPhone", {"Mobile Phone", "MPhoneStr"}}, {"Fax", {"Fax Number", "FaxStr"}},
    {"Email", {"Email", "EmailStr"}},         {"Web", {"Web", "WebStr"}},
    {"Services", {"Services", "ServicesStr"}}, {"Lic", {"Licence No.", "LicStr"}},
};

const QStringList othersGroup = {"CoDet", "ABN",    "Addr1",  "Addr2",  "Addr3",
                                 "Addr4", "Addr5",  "Addr6",  "HPhone", "WPhone",
                                 "MPhone", "Fax",   "Email",  "Lic"};

} // namespace

OfficePage *createOfficePage(MainAccess &main)
{
    QWidget *tab = main.tab(Page::Office);
    auto *page = new OfficePage(tab);
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    // the owner's name takes the focus each time the page is shown
    tab->installEventFilter(page);
    return page;
}

const QStringList &OfficePage::editNames()
{
    return ownerEditNames();
}

void OfficePage::readSettings(const AppSettings &settings)
{
    for (const QString &name : editNames())
        setText(name, settings.value(QString::fromLatin1(ownerEdits.value(name).setting)));
    setFontOf(QStringLiteral("Co"), settings.font(FontRole::Company));
    setFontOf(QStringLiteral("CoDet"), settings.font(FontRole::Others));
    setFontOf(QStringLiteral("OwnerName"), settings.font(FontRole::OwnerName));
    setFontOf(QStringLiteral("Services"), settings.font(FontRole::Services));
    setTaxLabel(settings.value(QStringLiteral("TIN/ABN#")));
}

void OfficePage::writeSettings(AppSettings &settings) const
{
    for (const QString &name : editNames())
        settings.setValue(QString::fromLatin1(ownerEdits.value(name).setting), text(name));
    settings.setFont(FontRole::Company, fontOf(QStringLiteral("Co")));
    settings.setFont(FontRole::Others, fontOf(QStringLiteral("CoDet")));
    settings.setFont(FontRole::OwnerName, fontOf(QStringLiteral("OwnerName")));
    settings.setFont(FontRole::Services, fontOf(QStringLiteral("Services")));
}

OfficePage::OfficePage(QWidget *parent) : QWidget(parent)
{
    m_panel = new GradientPanel(this);
    m_panel->setObjectName(QStringLiteral("OwnerPanel"));
    setHint(m_panel, QStringLiteral("Right Click Component to Copy/Cut/Paste.  Selected Fonts "
                                    "used on ALL Reports."));
    auto *grid = new QGridLayout(m_panel);
    grid->setContentsMargins(24, 24, 24, 24);
    int row = 0;
    for (const QString &name : editNames()) {
        const OwnerEdit e = ownerEdits.value(name);
        auto *label = new QLabel(e.label ? QString::fromLatin1(e.label) : QStringLiteral("TIN"),
                                 m_panel);
        label->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
        if (!e.label) {
            label->setObjectName(QStringLiteral("ABNLabel"));
            m_taxLabel = label;
        }
        auto *edit = new QLineEdit(m_panel);
        edit->setObjectName(name);
        edit->setMinimumWidth(300);
        m_edits[name] = edit;
        m_colours[name] = Qt::black;
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    static const char *const hints[] = {"Name Font used on Business Cards",
                                        "Company Font used on Reports and Business Cards",
                                        "Services Font on Business Cards",
                                        "All Other Reports and Business Card Fonts"};
    static const char *const captions[] = {"Name Font", "Company Font", "Fonts", "Others Font"};
    auto *buttons = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto *b = new ShapeButton(QString::fromLatin1(captions[i]), m_panel);
        b->setObjectName(QStringLiteral("FontBtn%1").arg(i + 1));
        b->setGradient(ShapeButton::silver(), ShapeButton::grey());
        b->setMinimumSize(110, 28);
        setHint(b, QString::fromLatin1(hints[i]));
        connect(b, &QAbstractButton::clicked, this, [this, i] { fontButton(i); });
        m_fontBtns[i] = b;
        buttons->addWidget(b);
    }
    auto *cards = new ShapeButton(QStringLiteral("Bus Cards"), m_panel);
    cards->setObjectName(QStringLiteral("BusCardBtn2"));
    cards->setGradient(ShapeButton::silver(), ShapeButton::grey());
    cards->setMinimumSize(110, 28);
    setHint(cards, QStringLiteral("Preview / Print Business Cards on Avery J8413 Pre-Cut Card "
                                  "Medium "));
    cards->setEnabled(false); // the business cards come with the client printouts
    buttons->addSpacing(16);
    buttons->addWidget(cards);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, row, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row, 1);

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(m_panel);
}

QLineEdit *OfficePage::edit(const QString &name) const
{
    const auto it = m_edits.find(name);
    return it == m_edits.end() ? nullptr : it->second;
}

QString OfficePage::text(const QString &name) const
{
    QLineEdit *e = edit(name);
    return e ? e->text() : QString();
}

void OfficePage::setText(const QString &name, const QString &text)
{
    if (QLineEdit *e = edit(name))
        e->setText(text);
}

void OfficePage::setTaxLabel(const QString &label)
{
    m_taxLabel->setText(label);
}

QString OfficePage::taxLabel() const
{
    return m_taxLabel->text();
}

FontChoice OfficePage::fontOf(const QString &editName) const
{
    QLineEdit *e = edit(editName);
    return {e->font(), m_colours.at(editName)};
}

void OfficePage::setFontOf(const QString &editName, const FontChoice &font)
{
    const QStringList targets = editName == QLatin1String("CoDet") ? othersGroup
                                                                   : QStringList{editName};
    for (const QString &n : targets) {
        QLineEdit *e = edit(n);
        e->setFont(font.font);
        m_colours[n] = font.color;
        QPalette p = e->palette();
        p.setColor(QPalette::Text, font.color);
        e->setPalette(p);
    }
}

void OfficePage::setColours(const QColor &grad1, const QColor &grad2, const QColor &grad3)
{
    m_grad1 = grad1;
    m_grad2 = grad2;
    m_grad3 = grad3;
    m_panel->setGradient(grad1, grad2);
}

QStringList OfficePage::servedBy(int which) const
{
    switch (which) {
    case 0: return {QStringLiteral("OwnerName")};
    case 1: return {QStringLiteral("Co")};
    case 2: return {QStringLiteral("Services")};
    default: return othersGroup;
    }
}

void OfficePage::fontButton(int which)
{
    // show which edits this button serves before the dialog opens
    for (int i = 0; i < 4; ++i) {
        if (i == which)
            m_fontBtns[i]->setGradient(m_grad2, m_grad1);
        else
            m_fontBtns[i]->setGradient(ShapeButton::silver(), ShapeButton::grey());
    }
    const QStringList served = servedBy(which);
    for (const auto &[name, e] : m_edits) {
        QPalette p = e->palette();
        p.setColor(QPalette::Base, served.contains(name) ? m_grad3 : QColor(Qt::white));
        e->setPalette(p);
    }
    const QString source = served.first();
    if (const auto chosen = dialogs().font(fontOf(source)))
        setFontOf(source, *chosen);
}

bool OfficePage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched == parentWidget())
        QTimer::singleShot(0, this, [this] { edit(QStringLiteral("OwnerName"))->setFocus(); });
    return QWidget::eventFilter(watched, event);
}

} // namespace Brelvan
