#pragma once

#include "calc/calcmemory.h"
#include "calc/calcnumbers.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QVBoxLayout;

namespace Brelvan {

class GradientPanel;
class MainAccess;
class ShapeButton;

// What every calculator window shares: a head panel, the input and output edits in rows,
// a column of buttons, the Calculate button's colours and the inputs remembered for the run.
class CalcWindow : public QDialog
{
    Q_OBJECT

public:
    QLineEdit *edit(const QString &name) const;
    // True while the outputs show the inputs as they stand.
    bool isCurrent() const { return m_current; }

    void done(int result) override;

protected:
    CalcWindow(MainAccess &main, const QString &className, const QString &caption,
               const QString &head, QWidget *parent);

    QLineEdit *addInput(const char *name, const QString &caption, const QString &hint);
    QComboBox *addFrequency(const QString &caption);
    void addHeading(const QString &text);
    QLineEdit *addOutput(const char *name, const QString &caption, const QString &hint = {});
    ShapeButton *addButton(const char *name, const QString &caption, const QString &hint,
                           std::function<void()> action);
    // Close last in the button column.
    void addCloseButton();
    // Room below the rows, across the window.
    QVBoxLayout *lowerArea() const { return m_lower; }
    // Input edits on the Grad3Str background as well as the outputs.
    void colourInputs();
    // Puts the remembered inputs back; then editing them marks the outputs as old.
    void restore(const CalcEntry &entry, const char *firstInput);
    CalcEntry entry(const char *firstInput) const;
    QString text(const char *name) const;
    QString frequencyText() const;
    int frequency() const;

    // Shows the calculation's error, or its outputs and the green Calculate button.
    bool showOutcome(const Calculation &calculation);
    // Printed: the Calculate caption turns red, the outputs stay current.
    void printed();
    // Stores the inputs in the run's memory as the window closes.
    virtual void remember() = 0;

    MainAccess &m_main;
    QColor m_grad1, m_grad2, m_grad3;

private:
    void makeStale();

    GradientPanel *m_body = nullptr;
    QGridLayout *m_rows = nullptr;
    QVBoxLayout *m_buttons = nullptr;
    QVBoxLayout *m_lower = nullptr;
    QComboBox *m_frequency = nullptr;
    ShapeButton *m_calculate = nullptr;
    QList<QLineEdit *> m_inputs;
    int m_row = 0;
    bool m_current = false;
    bool m_remembered = false;
};

} // namespace Brelvan
