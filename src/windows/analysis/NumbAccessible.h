#pragma once
// The names by which screen readers announce the controls of the analysis window and its date
// panel. Buttons with a caption are named by it; the image buttons, the fields that show results
// and the chart are named here for what they do or show. Their hints serve as descriptions.

namespace quillon {

class TCalcFrm;

void NameAnalysisControls(TCalcFrm& window);

}  // namespace quillon
