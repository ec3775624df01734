#include "windows/analysis/NumbAccessible.h"

#include <QLineEdit>
#include <QPushButton>

#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Numb.h"

namespace quillon {

void NameAnalysisControls(TCalcFrm& window) {
    const std::pair<QWidget*, const char*> names[] = {
        {window.Vowels, "Vowels"},        {window.Data, "Data Entry"},
        {window.Constants, "Consonants"}, {window.VTotal, "Vowel total"},
        {window.Total, "Grand total"},    {window.CTotal, "Consonant total"},
        {window.Clearbtn, "Clear"},       {window.CalendarBtn, "Date Calculator"},
        {window.PasteBtn, "Paste"},       {window.frSpeedButton1, "Close"},
        {window.DateEdit, "Date"},        {window.DtTot, "Date Total"},
        {window.MnTot, "Month + Day"},    {window.DyTot, "Day"},
        {window.NmDt, "Name + Date"},     {window.DtClearBtn, "Clear Date"},
        {window.DtHelpBtn, "Help"},
    };
    for (const auto& [control, name] : names) control->setAccessibleName(QString::fromLatin1(name));
}

}  // namespace quillon
