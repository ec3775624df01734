#include "app/ChartPanel.h"

#include <QLabel>

#include "app/Controls.h"

namespace quillon {
namespace {

constexpr std::array<int, 9> kValueColumnLeft = {71, 93, 116, 138, 162, 184, 207, 231, 253};
constexpr int kTotalColumnLeft = 283;
constexpr std::array<int, 3> kRowTop = {25, 43, 63};  // vowels, consonants, total
constexpr int kHeaderTop = 7;
constexpr int kCellWidth = 20;
constexpr int kCellHeight = 16;
constexpr int kBevel = 3;

QLabel* MakeCell(QWidget* parent, int left, int top, const QString& text) {
    auto* cell = new QLabel(text, parent);
    cell->setFont(ui::SmallFont());
    cell->setGeometry(left, top, kCellWidth, kCellHeight);
    cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

}  // namespace

ChartPanel::ChartPanel(QWidget* parent) : QFrame(parent) {
    const QString hint = QStringLiteral("Analysis Only.");
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
        const bool isTotal = index >= 27;
        const int row = isTotal ? index - 27 : index % 3;
        const int left = isTotal ? kTotalColumnLeft : kValueColumnLeft[static_cast<std::size_t>(index / 3)];
        QLabel* cell = MakeCell(panel_, left, kRowTop[static_cast<std::size_t>(row)], QStringLiteral("0"));
        cell->setObjectName(QString::fromStdString(ChartCellName(index)));
        cells_[static_cast<std::size_t>(index)] = cell;
    }
}

void ChartPanel::ShowChart(const DigitChart& chart) {
    const auto texts = ChartCellTexts(chart);
    for (std::size_t i = 0; i < texts.size(); ++i) cells_[i]->setText(QString::fromStdString(texts[i]));
}

void ChartPanel::ClearTotals() {
    for (int index = 27; index < kChartCellCount; ++index) Cell(index)->setText(QStringLiteral("0"));
}

QString ChartPanel::CellText(int index) const { return Cell(index)->text(); }

}  // namespace quillon
