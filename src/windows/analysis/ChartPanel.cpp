#include "windows/analysis/ChartPanel.h"

#include <QLabel>

#include "platform/Accessible.h"
#include "windows/Controls.h"

namespace quillon {
namespace {

constexpr std::array<int, 9> kValueColumnLeft = {71, 93, 116, 138, 162, 184, 207, 231, 253};
constexpr int kTotalColumnLeft = 283;
constexpr std::array<int, 3> kRowTop = {25, 43, 63};  // vowels, consonants, total
constexpr int kHeaderTop = 7;
constexpr int kCellWidth = 20;
constexpr int kCellHeight = 16;
constexpr int kBevel = 3;

// A count of the chart. To a screen reader it is text named for what it counts, with the count as
// its value.
class ChartCell final : public QLabel {
public:
    using QLabel::QLabel;
};

class AccessibleChartCell final : public QAccessibleWidget {
public:
    explicit AccessibleChartCell(ChartCell* cell) : QAccessibleWidget(cell, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// What each cell counts, in the order of ChartCellName.
QString CellMeaning(int index) {
    if (index >= kFirstTotalCell) {
        const char* const totals[] = {"Vowel letters", "Consonant letters", "Letters in all"};
        return QString::fromLatin1(totals[index - kFirstTotalCell]);
    }
    const char* const rows[] = {"Vowels worth %1", "Consonants worth %1", "Letters worth %1"};
    return QString::fromLatin1(rows[index % 3]).arg(index / 3 + 1);
}

template <typename Label = QLabel>
Label* MakeCell(QWidget* parent, int left, int top, const QString& text) {
    // The text comes after construction: a label made with its text announces it while it is no
    // more than a QLabel, and would be remembered as one by the accessibility cache.
    auto* cell = new Label(parent);
    cell->setText(text);
    cell->setFont(ui::SmallFont());
    cell->setGeometry(left, top, kCellWidth, kCellHeight);
    cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

}  // namespace

ChartPanel::ChartPanel(QWidget* parent) : QFrame(parent) {
    UseAccessibleInterface<ChartCell, AccessibleChartCell>();
    const QString hint = QStringLiteral("Analysis Only.");
    setAccessibleName(QStringLiteral("Digit chart"));
    setGeometry(10, 167, 329, 95);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBevel);
    setToolTip(hint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("ChartPanel"));
    panel_->setGeometry(kBevel, kBevel, width() - 2 * kBevel, height() - 2 * kBevel);
    panel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel_->setLineWidth(1);
    panel_->setToolTip(hint);
    ui::SetPaleBlueBackground(panel_);

    for (int digit = 1; digit <= 9; ++digit) {
        MakeCell(panel_, kValueColumnLeft[digit - 1], kHeaderTop, QString::number(digit));
    }
    auto* totalCaption = ui::MakeLabel(panel_, 280, kHeaderTop, QStringLiteral("Total"), ui::SmallFont());
    totalCaption->setFixedHeight(kCellHeight);

    const std::array<QString, 3> rowCaptions = {QStringLiteral("Vowels"), QStringLiteral("Consonants"),
                                                QStringLiteral("Total")};
    for (std::size_t row = 0; row < rowCaptions.size(); ++row) {
        auto* caption = new QLabel(rowCaptions[row], panel_);
        caption->setFont(ui::SmallFont());
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(2, kRowTop[row], kValueColumnLeft[0] - 4, kCellHeight);
    }

    for (int index = 0; index < kChartCellCount; ++index) {
        const bool isTotal = index >= kFirstTotalCell;
        const int row = isTotal ? index - kFirstTotalCell : index % 3;
        const int left = isTotal ? kTotalColumnLeft : kValueColumnLeft[static_cast<std::size_t>(index / 3)];
        QLabel* cell = MakeCell<ChartCell>(panel_, left, kRowTop[static_cast<std::size_t>(row)], QStringLiteral("0"));
        cell->setObjectName(QString::fromStdString(ChartCellName(index)));
        cell->setAccessibleName(CellMeaning(index));
        cells_[static_cast<std::size_t>(index)] = cell;
    }
}

void ChartPanel::ShowChart(const DigitChart& chart) {
    // The counts in the cells' order; a keystroke changes a few of them, and only those cells are
    // written.
    const std::array<int, kChartCellCount> counts = ChartCellCounts(chart);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] == shown_[i]) continue;
        shown_[i] = counts[i];
        SetCellText(static_cast<int>(i), QString::number(counts[i]));
    }
}

void ChartPanel::ClearTotals() {
    for (int index = kFirstTotalCell; index < kChartCellCount; ++index) {
        shown_[static_cast<std::size_t>(index)] = 0;
        SetCellText(index, QStringLiteral("0"));
    }
}

void ChartPanel::SetCellText(int index, const QString& text) {
    QLabel* cell = Cell(index);
    if (cell->text() == text) return;
    cell->setText(text);
    NotifyValueChanged(cell, text);
}

QString ChartPanel::CellText(int index) const { return Cell(index)->text(); }

}  // namespace quillon
