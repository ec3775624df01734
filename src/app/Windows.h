#pragma once
// The program's windows, created once at start-up in their fixed order and wired to each other:
// the analysis window first, then the Y dialog, then the math calculator window.

#include "app/Numb.h"
#include "app/Y.h"
#include "tools/Calc.h"

namespace quillon {

struct Windows {
    Windows() {
        CalcFrm.YFrm = &YFrm;
        CalcFrm.CalculatorFrm = &CalculatorFrm;
    }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TCalcFrm CalcFrm;
    TYFrm YFrm{CalcFrm};
    TCalculatorFrm CalculatorFrm{CalcFrm};
};

}  // namespace quillon
