#include "windows/report/TfrPrintForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "common/Messages.h"
#include "platform/Accessible.h"
#include "platform/FileDialogs.h"
#include "platform/ScreenPlace.h"

namespace quillon {

CollatePicture::CollatePicture(QWidget* parent) : QWidget(parent) {
    UseAccessibleInterface<CollatePicture, AccessiblePicture>();
    SetCollated(true);
}

void CollatePicture::SetCollated(bool collated) {
    collated_ = collated;
    setAccessibleName(collated ? QStringLiteral("Collated copies") : QStringLiteral("Uncollated copies"));
    update();
}

void CollatePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const qreal ratio = devicePixelRatioF();
    painter.drawPixmap(collated_ ? QPoint(8, 0) : QPoint(0, 8),
                       collated_ ? CollatedImage(ratio) : UncollatedImage(ratio));
}

namespace {

// A sheet with its page number, drawn at (x, y).
void Sheet(QPainter& painter, int x, int y, int number) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(x, y, 15, 20);
    painter.drawText(QRect(x, y, 16, 21), Qt::AlignCenter, QString::number(number));
}

// A picture of that size, transparent (light grey in the dialog's face colour) where no sheet is.
QPixmap Blank(int width, int height, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(width, height) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void SmallFont(QPainter& painter) {
    QFont small = painter.font();
    small.setPixelSize(9);
    painter.setFont(small);
}

}  // namespace

QPixmap CollatePicture::CollatedImage(qreal devicePixelRatio) {
    QPixmap pixmap = Blank(74, 53, devicePixelRatio);
    QPainter painter(&pixmap);
    SmallFont(painter);
    // Two sets of pages 1, 2, 3, each a stack.
    for (int set = 0; set < 2; ++set) {
        for (int page = 3; page >= 1; --page) Sheet(painter, set * 38 + (page - 1) * 5, 30 - (page - 1) * 14, page);
    }
    return pixmap;
}

QPixmap CollatePicture::UncollatedImage(qreal devicePixelRatio) {
    QPixmap pixmap = Blank(92, 40, devicePixelRatio);
    QPainter painter(&pixmap);
    SmallFont(painter);
    // Pages 1, 1, 2, 2, 3, 3: the copies of each page together.
    for (int page = 1; page <= 3; ++page) {
        for (int copy = 0; copy < 2; ++copy) Sheet(painter, (page - 1) * 30 + copy * 6, 18 - copy * 6, page);
    }
    return pixmap;
}

QIcon PrinterIcon() {
    // Drawn for screens of one and of two device pixels to a pixel, so that neither is enlarged.
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap = Blank(16, 16, ratio);
        QPainter painter(&pixmap);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(4, 1, 7, 5);  // the sheet going in
        painter.setBrush(QColor(0xC0, 0xC0, 0xC0));
        painter.drawRect(1, 6, 13, 6);  // the body
        painter.setBrush(Qt::white);
        painter.drawRect(4, 10, 7, 4);  // the sheet coming out
        painter.fillRect(11, 8, 2, 1, Qt::green);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

namespace {

template <typename Widget>
Widget* Place(Widget* widget, int left, int top, int width = -1, int height = -1) {
    if (width < 0) {
        widget->adjustSize();
        widget->move(left, top);
    } else {
        widget->setGeometry(left, top, width, height);
    }
    return widget;
}

QGroupBox* Group(QWidget* parent, const QString& title, const QRect& place) {
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(place);
    return group;
}

}  // namespace

TfrPrintForm::TfrPrintForm(TfrPrinter& printer, const PrintRequest& defaults, QWidget* parent, int pageCount)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      printer_(printer),
      openedWith_(printer.PrinterIndex()),
      pageCount_(pageCount) {
    setObjectName(QStringLiteral("frPrintForm"));
    setWindowTitle(QStringLiteral("Print"));
    QFont base(QStringLiteral("MS Sans Serif"));
    base.setPixelSize(11);
    setFont(base);
    setFixedSize(485, 225);
    setModal(true);

    PrinterGroup = Group(this, QStringLiteral("Printer"), {4, 8, 477, 49});
    auto* nameLabel = Place(new QLabel(QStringLiteral("&Name:"), PrinterGroup), 8, 20);
    PrinterList = Place(new QComboBox(PrinterGroup), 72, 17, 305, 21);
    PrinterList->setIconSize(QSize(16, 16));
    nameLabel->setBuddy(PrinterList);
    PropertiesButton = Place(new QPushButton(QStringLiteral("Properties"), PrinterGroup), 392, 17, 75, 22);

    RangeGroup = Group(this, QStringLiteral("Page range"), {4, 68, 265, 117});
    AllButton = Place(new QRadioButton(QStringLiteral("&All"), RangeGroup), 8, 20);
    CurrentPageButton = Place(new QRadioButton(QStringLiteral("Current pa&ge"), RangeGroup), 8, 40);
    CurrentPageButton->setEnabled(false);
    PagesButton = Place(new QRadioButton(QStringLiteral("&Pages:"), RangeGroup), 8, 60);
    PagesEdit = Place(new QLineEdit(RangeGroup), 88, 58, 165, 21);
    PagesEdit->setAccessibleName(QStringLiteral("Pages"));
    RangeHint = Place(new QLabel(QStringLiteral("Enter page numbers and/or page ranges, separated by commas. For "
                                                "example, 1,3,5-12"),
                                 RangeGroup),
                      8, 82, 249, 29);
    RangeHint->setWordWrap(true);
    AllButton->setChecked(true);

    CopiesGroup = Group(this, QStringLiteral("Copies"), {280, 68, 201, 117});
    auto* copiesLabel = Place(new QLabel(QStringLiteral("Number of &copies:"), CopiesGroup), 8, 24);
    CopiesEdit = Place(new QLineEdit(CopiesGroup), 128, 20, 49, 21);
    // Four digits: no more copies than a job can have.
    CopiesEdit->setMaxLength(static_cast<int>(std::to_string(kMaxCopies).size()));
    copiesLabel->setBuddy(CopiesEdit);
    UpButton = Place(new QToolButton(CopiesGroup), 158, 22, 17, 8);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = Place(new QToolButton(CopiesGroup), 158, 31, 17, 8);
    DownButton->setArrowType(Qt::DownArrow);
    // The arrows take no focus; the Up and Down keys in the copies field do what they do.
    for (QToolButton* arrow : {UpButton, DownButton}) arrow->setFocusPolicy(Qt::NoFocus);
    UpButton->setAccessibleName(QStringLiteral("More copies"));
    DownButton->setAccessibleName(QStringLiteral("Fewer copies"));
    Picture = Place(new CollatePicture(CopiesGroup), 8, 52, 92, 53);
    CollateBox = Place(new QCheckBox(CopiesGroup), 112, 62);
    CollateLabel = Place(new QLabel(QStringLiteral("Co&llate"), CopiesGroup), 132, 64, 61, 41);
    CollateLabel->setWordWrap(true);
    CollateLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CollateLabel->setBuddy(CollateBox);

    PrintLabel = Place(new QLabel(QStringLiteral("P&rint"), this), 4, 200);
    ParityList = Place(new QComboBox(this), PrintLabel->geometry().right() + 1 + 11, 196, 155, 21);
    ParityList->addItems({QStringLiteral("All pages"), QStringLiteral("Odd pages"), QStringLiteral("Even pages")});
    PrintLabel->setBuddy(ParityList);

    OkButton = Place(new QPushButton(QStringLiteral("OK"), this), 326, 194, 75, 25);
    OkButton->setDefault(true);
    CancelButton = Place(new QPushButton(QStringLiteral("Cancel"), this), 406, 194, 75, 25);

    FillPrinters();
    CopiesEdit->setText(QString::fromStdString(defaults.copies));
    CollateBox->setChecked(defaults.collate);
    Picture->SetCollated(defaults.collate);
    if (!defaults.pages.empty()) {
        PagesEdit->setText(QString::fromStdString(defaults.pages));
        PagesButton->setChecked(true);
    }
    ParityList->setCurrentIndex(static_cast<int>(defaults.parity));

    connect(PrinterList, &QComboBox::currentIndexChanged, this, &TfrPrintForm::PrinterChosen);
    connect(PropertiesButton, &QPushButton::clicked, this, [this] { printer_.PrinterProperties(); });
    connect(UpButton, &QToolButton::clicked, this, [this] { StepCopies(1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { StepCopies(-1); });
    connect(CollateBox, &QCheckBox::toggled, Picture, &CollatePicture::SetCollated);
    connect(PagesButton, &QRadioButton::clicked, this, [this] { PagesEdit->setFocus(); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* watched : {static_cast<QWidget*>(CopiesEdit), static_cast<QWidget*>(PagesEdit),
                             static_cast<QWidget*>(CollateLabel), static_cast<QWidget*>(PagesButton)}) {
        watched->installEventFilter(this);
    }
    CopiesEdit->setFocus();
    CentreOnScreen(*this);
}

void TfrPrintForm::FillPrinters() {
    const QSignalBlocker quiet(PrinterList);
    const QIcon icon = PrinterIcon();
    const auto& names = printer_.Printers();
    // The installed printers, not the virtual one, then the PDF file.
    for (std::size_t i = 0; i + 1 < names.size(); ++i) PrinterList->addItem(icon, QString::fromStdString(names[i]));
    PrinterList->addItem(icon, QString::fromLatin1(kPdfFileEntry));
    PrinterList->setCurrentIndex(printer_.IsVirtual() ? PrinterList->count() - 1 : printer_.PrinterIndex());
    PropertiesButton->setEnabled(!PdfChosen());
}

bool TfrPrintForm::PdfChosen() const { return PrinterList->currentIndex() == PrinterList->count() - 1; }

void TfrPrintForm::PrinterChosen(int item) {
    if (!PdfChosen()) printer_.SelectPrinter(item);
    PropertiesButton->setEnabled(!PdfChosen());
}

void TfrPrintForm::StepCopies(int step) {
    const int copies = ReadInteger(CopiesEdit->text().toStdString()).value_or(0);
    CopiesEdit->setText(QString::number(step > 0 ? std::min(copies + 1, kMaxCopies) : std::max(1, copies - 1)));
}

PrintRequest TfrPrintForm::Request() const {
    PrintRequest request;
    if (PagesButton->isChecked()) request.pages = PagesEdit->text().toStdString();
    request.copies = CopiesEdit->text().toStdString();
    request.collate = CollateBox->isChecked();
    request.parity = static_cast<PrintParity>(ParityList->currentIndex());
    return request;
}

bool TfrPrintForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CopiesEdit && event->type() == QEvent::KeyPress) {
        // Only digits are typed into the copies; every other typed character, Backspace too, is
        // ignored. Keys that type no character (Enter for OK, Escape, Tab, arrows, Delete,
        // shortcuts) work as usual.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool types =
            !text.isEmpty() && text.front().isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (key->key() == Qt::Key_Backspace) return true;
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && key->modifiers() == Qt::NoModifier) {
            StepCopies(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        if (types && (text.size() != 1 || text.front() < QLatin1Char('0') || text.front() > QLatin1Char('9')))
            return true;
    } else if (watched == PagesEdit && event->type() == QEvent::FocusIn) {
        PagesButton->setChecked(true);
    } else if (watched == PagesButton && event->type() == QEvent::Shortcut) {
        // Alt+P puts the caret into the pages at once: a button's mnemonic clicks it only a moment
        // later, and the digits typed meanwhile would go to the copies.
        PagesEdit->setFocus(Qt::ShortcutFocusReason);
        return true;
    } else if (watched == CollateLabel && event->type() == QEvent::MouseButtonPress) {
        // A click on the label toggles the box, and so does a double click (its second press
        // comes as the double click, which toggles nothing more).
        CollateBox->toggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrPrintForm::done(int result) {
    // OK with copies or pages that are no numbers, or that leave nothing to print, says so and
    // leaves everything as it was, so that the person can mend what was typed.
    if (result == QDialog::Accepted) {
        if (const auto error = PrintRequestProblem(Request(), pageCount_)) {
            ShowApplicationError(*error);
            return;
        }
    }
    // Anything but OK puts back the printer that was current when the dialog opened.
    if (result != QDialog::Accepted) printer_.SelectPrinter(openedWith_);
    QDialog::done(result);
}

std::optional<PrintChoice> QtPrintDialog::Ask(TfrPrinter& printer, const PrintRequest& defaults, int pageCount) {
    TfrPrintForm form(printer, defaults, parent_, pageCount);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    PrintChoice choice{form.Request(), std::nullopt};
    if (form.PdfChosen()) {
        const auto file = AskSaveFileName(parent_, {QStringLiteral("PDF file (*.pdf)"), QStringLiteral("pdf")});
        if (!file) return std::nullopt;
        choice.pdfFile = file->toStdString();
    }
    return choice;
}

}  // namespace quillon
