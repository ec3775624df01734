#pragma once
// The print dialog: the printer (the installed ones, and "PDF file" to write the sheets to a file),
// its properties, the pages, the copies with collation, and odd or even pages. Choosing a printer
// makes it current in the printer layer at once; a dialog closed without OK makes the printer that
// was current when it opened current again.

#include <QDialog>
#include <QPixmap>
#include <optional>

#include "report/engine/PrintRun.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quillon {

// The collated or the uncollated picture of three pages in two copies, drawn on the dialog's face
// colour.
class CollatePicture final : public QWidget {
public:
    explicit CollatePicture(QWidget* parent);
    void SetCollated(bool collated);
    bool Collated() const { return collated_; }
    // The collated image is 74 x 53 pixels, drawn at 8, 0; the uncollated one 92 x 40, at 0, 8.
    // On a screen of a higher pixel ratio they are drawn with that many more pixels.
    static QPixmap CollatedImage(qreal devicePixelRatio = 1.0);
    static QPixmap UncollatedImage(qreal devicePixelRatio = 1.0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool collated_ = true;
};

class TfrPrintForm : public QDialog {
    Q_OBJECT

public:
    // The last entry of the printer list, after the installed printers.
    static constexpr const char* kPdfFileEntry = "PDF file";

    // For a report of pageCount prepared pages: OK with a request that leaves nothing to print, or
    // with fields that are no numbers, says so and keeps the dialog open.
    TfrPrintForm(TfrPrinter& printer, const PrintRequest& defaults, QWidget* parent = nullptr, int pageCount = 1);

    // The request as the controls hold it (the pages field only when "Pages:" is chosen).
    PrintRequest Request() const;
    // Whether "PDF file" is chosen.
    bool PdfChosen() const;

    QGroupBox* PrinterGroup = nullptr;
    QComboBox* PrinterList = nullptr;
    QPushButton* PropertiesButton = nullptr;
    QGroupBox* RangeGroup = nullptr;
    QRadioButton* AllButton = nullptr;
    QRadioButton* CurrentPageButton = nullptr;
    QRadioButton* PagesButton = nullptr;
    QLineEdit* PagesEdit = nullptr;
    QLabel* RangeHint = nullptr;
    QGroupBox* CopiesGroup = nullptr;
    QLineEdit* CopiesEdit = nullptr;
    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;
    CollatePicture* Picture = nullptr;
    QCheckBox* CollateBox = nullptr;
    QLabel* CollateLabel = nullptr;
    QLabel* PrintLabel = nullptr;
    QComboBox* ParityList = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void FillPrinters();
    void PrinterChosen(int item);
    void StepCopies(int step);

    TfrPrinter& printer_;
    int openedWith_;
    int pageCount_;
};

// The engine's print dialog on a TfrPrintForm, and the save dialog for a PDF file.
class QtPrintDialog final : public PrintDialog {
public:
    explicit QtPrintDialog(QWidget* parent) : parent_(parent) {}
    std::optional<PrintChoice> Ask(TfrPrinter& printer, const PrintRequest& defaults, int pageCount) override;

private:
    QWidget* parent_;
};

// A small picture of a printer, for the printer list.
QIcon PrinterIcon();

}  // namespace quillon
