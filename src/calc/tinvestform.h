#pragma once

#include "calc/calcwindow.h"

namespace Brelvan {

// "Invest": a lump sum grown at compound interest, and its printout TPrintInvestForm.
class TInvestForm : public CalcWindow
{
    Q_OBJECT

public:
    explicit TInvestForm(MainAccess &main, QWidget *parent = nullptr);

private:
    void print();
    void remember() override;
};

} // namespace Brelvan
