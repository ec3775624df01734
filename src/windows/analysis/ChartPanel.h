#pragma once
// The digit chart of the analysis window: a white frame with a lowered bevel around a pale blue
// panel of 30 right-aligned count cells (V1 ... T9, vvt, cct, ttt) with their captions.

#include <QFrame>
#include <array>

#include "numerology/DigitChart.h"

class QLabel;

namespace quillon {

class ChartPanel : public QFrame {
    Q_OBJECT

public:
    explicit ChartPanel(QWidget* parent);

    // Writes the 30 counts into their cells.
    void ShowChart(const DigitChart& chart);
    // Sets the three total cells (vvt, cct, ttt) to "0", as the Clear command does.
    void ClearTotals();

    // The cell in the order of ChartCellName; its object name is the cell's name.
    QLabel* Cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }
    QString CellText(int index) const;
    // The inner panel that holds the cells.
    QFrame* Panel() const { return panel_; }

private:
    void SetCellText(int index, const QString& text);

    QFrame* panel_ = nullptr;
    std::array<QLabel*, kChartCellCount> cells_{};
    // The counts the cells show, so that an unchanged one is not written again.
    std::array<int, kChartCellCount> shown_{};
};

}  // namespace quillon
