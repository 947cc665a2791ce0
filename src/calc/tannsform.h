#pragma once

#include "calc/calcwindow.h"

namespace Brelvan {

// "Sinking Annuity": the regular payment that reaches a required value, and TPrintAnnSForm.
class TAnnSForm : public CalcWindow
{
    Q_OBJECT

public:
    explicit TAnnSForm(MainAccess &main, QWidget *parent = nullptr);

private:
    void print();
    void remember() override;
};

} // namespace Brelvan
