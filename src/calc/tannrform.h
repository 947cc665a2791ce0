#pragma once

#include "calc/calcwindow.h"

namespace Brelvan {

// "Rising Annuity": the end-of-term value of a regular payment, and TPrintAnnRForm.
class TAnnRForm : public CalcWindow
{
    Q_OBJECT

public:
    explicit TAnnRForm(MainAccess &main, QWidget *parent = nullptr);

private:
    void print();
    void remember() override;
};

} // namespace Brelvan
