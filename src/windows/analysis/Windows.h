#pragma once
// The program's windows, created once at start-up in their fixed order and wired to each other:
// the analysis window first, then the Y dialog, the links window and the math calculator window.

#include "windows/analysis/Numb.h"
#include "windows/analysis/Y.h"
#include "windows/calculator/Calc.h"
#include "windows/help/HelpService.h"
#include "windows/links/Inet.h"

namespace quillon {

struct Windows {
    Windows() {
        CalcFrm.YFrm = &YFrm;
        CalcFrm.InternetFrm = &InternetFrm;
        CalcFrm.CalculatorFrm = &CalculatorFrm;
        CalculatorFrm.ShowHelpTopic = [](const QString& address) { CurrentHelp().ShowTopic(address); };
        CalculatorFrm.HelpJump = [](const QString& jumpId) { CurrentHelp().HelpJump(jumpId); };
    }
    // The analysis window outlives the others and watches its own input until its end: it must
    // not reach them while they are being destroyed.
    ~Windows() {
        CalcFrm.YFrm = nullptr;
        CalcFrm.InternetFrm = nullptr;
        CalcFrm.CalculatorFrm = nullptr;
    }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TCalcFrm CalcFrm;
    TYFrm YFrm{CalcFrm};
    TInternetFrm InternetFrm{&CalcFrm};
    TCalculatorFrm CalculatorFrm{CalcFrm};
};

}  // namespace quillon
