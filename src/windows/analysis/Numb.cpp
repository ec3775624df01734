#include "windows/analysis/Numb.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <utility>

#include "common/Messages.h"
#include "common/Version.h"
#include "platform/FileDialogs.h"
#include "platform/Regional.h"
#include "platform/ScreenPlace.h"
#include "report/content/TemplateData.h"
#include "report/export/ExportRun.h"
#include "report/format/TemplateStream.h"
#include "windows/Controls.h"
#include "windows/analysis/ChartPanel.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/NumbAccessible.h"
#include "windows/analysis/Y.h"
#include "windows/calculator/Calc.h"
#include "windows/help/HelpService.h"
#include "windows/links/Inet.h"
#include "windows/report/ReportSurroundings.h"
#include "windows/report/TfrPrintForm.h"

namespace quillon {
namespace {

// The person's choices kept between runs, in the maker's settings of the program (on Linux
// ~/.config/Farbrook Software/Quillon.conf). The names are fixed here, not taken from the
// application, so that every way of starting the program reads the same choices.
const QString kFoldAccentsSetting = QStringLiteral("Analysis/FoldAccents");

std::unique_ptr<QSettings> UserSettings() {
    return std::make_unique<QSettings>(QStringLiteral("Farbrook Software"), QStringLiteral("Quillon"));
}

}  // namespace

QString MainWindowCaption() {
    return QStringLiteral("Quillon Ver. ") + QString::fromLatin1(kVersion) +
           QStringLiteral(" \u2014 \u00A9 2004\u20132010 The Quillon Developers");
}

TCalcFrm::TCalcFrm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("CalcFrm"));
    setWindowTitle(MainWindowCaption());
    setFont(ui::SmallFont());
    BuildControls();
    BuildDatePanel();
    NameAnalysisControls(*this);
    ConnectCommands();
    SetTabOrder();
    // Key preview: the window sees every key before the focused control does.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->window() == this) child->installEventFilter(this);
    }
    ConfigureAsExportButton(frRTFExport1);
    reportSurroundings_ = std::make_unique<ReportSurroundings>();
    for (TfrReport* report : {&frReport1, &frReport2}) {
        report->OnGetValue = [this](const std::string& name, Value& value) { GetReportValue(name, value); };
        report->Environment = reportSurroundings_->Environment();
    }
    LoadReportTemplates(true);
    FormCreate();
}

TCalcFrm::~TCalcFrm() {
    // FormDestroy: the hook goes, closing the viewer's windows, and the viewer is asked once more.
    helpHook_.reset();
    CurrentHelp().CloseAll();
}

void TCalcFrm::LoadReportTemplates(bool showFailures) {
    // The window's stored layout holds each template in its property wrapper; it is read once the
    // controls exist.
    const std::pair<TfrReport*, std::span<const std::uint8_t>> reports[] = {{&frReport1, PrintReportForm()},
                                                                            {&frReport2, ExportReportForm()}};
    for (const auto& [report, form] : reports) {
        const auto stream = UnwrapReportForm(form);
        const RunResult loaded = stream ? report->LoadTemplate(*stream, Now()) : RunResult::Failed(kUnsupportedFormat);
        if (showFailures) ShowFailure(loaded, kErrorCaption);
    }
}

void TCalcFrm::BindPrintersLater(PrinterDriver& driver) {
    pendingPrinters_ = &driver;
    QTimer::singleShot(0, this, [this] { BindPendingPrinters(); });
}

void TCalcFrm::BindPendingPrinters() {
    if (!pendingPrinters_) return;
    EnginePrinter().Bind(*std::exchange(pendingPrinters_, nullptr));
    // Their failures were shown when the window was created.
    LoadReportTemplates(false);
}

void TCalcFrm::BuildControls() {
    const QString analysisOnly = QStringLiteral("Analysis Only.");

    ui::MakeLabel(this, 9, 8, QStringLiteral("Vowels"), ui::SmallFont());
    Vowels = ui::MakeResultField(this, {9, 25, 328, 24}, ui::RowFont(), analysisOnly);
    Vowels->setObjectName(QStringLiteral("Vowels"));

    ui::MakeLabel(this, 9, 58, QStringLiteral("Data Entry"), ui::SmallFont());
    Data = new QLineEdit(this);
    Data->setObjectName(QStringLiteral("Data"));
    Data->setGeometry(9, 75, 328, 24);
    Data->setFont(ui::RowFont());
    Data->setMaxLength(kMaxDataLength);
    Data->setToolTip(QStringLiteral("Enter Data Here."));

    ui::MakeLabel(this, 9, 108, QStringLiteral("Consonants"), ui::SmallFont());
    Constants = ui::MakeResultField(this, {9, 125, 328, 24}, ui::RowFont(), analysisOnly);
    Constants->setObjectName(QStringLiteral("Constants"));

    ui::MakeLabel(this, 352, 8, QStringLiteral("Totals"), ui::SmallFont());
    VTotal = ui::MakeResultField(this, {352, 25, 114, 24}, ui::NormalFont(), analysisOnly);
    VTotal->setObjectName(QStringLiteral("VTotal"));
    Total = ui::MakeResultField(this, {352, 75, 114, 24}, ui::NormalFont(), analysisOnly);
    Total->setObjectName(QStringLiteral("Total"));
    CTotal = ui::MakeResultField(this, {352, 125, 114, 24}, ui::NormalFont(), analysisOnly);
    CTotal->setObjectName(QStringLiteral("CTotal"));
    for (QLineEdit* total : {VTotal, Total, CTotal}) total->setText(QStringLiteral("0"));

    Chart = new ChartPanel(this);
    Chart->setObjectName(QStringLiteral("Chart"));

    Clearbtn = ui::MakeButton(this, {355, 167, 28, 25}, {}, QStringLiteral("Clear Data"), QStringLiteral("clear"));
    CalendarBtn = ui::MakeButton(this, {393, 167, 32, 25}, {}, QStringLiteral("Open or Close Date Calculator"),
                                 QStringLiteral("calendar"));
    PasteBtn =
        ui::MakeButton(this, {435, 167, 28, 25}, {}, QStringLiteral("Paste from Clipboard"), QStringLiteral("paste"));
    MthBtn = ui::MakeButton(this, {355, 203, 108, 25}, QStringLiteral("Pythagorean"),
                            QStringLiteral("Click to Change System"));
    MthBtn->setFont(ui::SmallFont());
    HelpBtn = ui::MakeButton(this, {375, 238, 64, 25}, QStringLiteral("Help"), QStringLiteral("Open Help"),
                             QStringLiteral("help"));
    CalculatorBtn = ui::MakeButton(this, {9, 279, 90, 25}, QStringLiteral("Calculator"),
                                   QStringLiteral("Math Calculator"), QStringLiteral("calculator"));
    PrintBtn = ui::MakeButton(this, {115, 279, 75, 25}, QStringLiteral("Print"), QStringLiteral("Print Report"),
                              QStringLiteral("print"));
    ExportBtn = ui::MakeButton(this, {208, 279, 75, 25}, QStringLiteral("Export"),
                               QStringLiteral("Export Results to RTF file."), QStringLiteral("export"));
    InternetBtn = ui::MakeButton(this, {299, 279, 76, 25}, QStringLiteral("Internet"), QStringLiteral("Internet Sites"),
                                 QStringLiteral("internet"));
    ExitBtn = ui::MakeButton(this, {391, 279, 75, 25}, QStringLiteral("Exit"), QStringLiteral("Exit Program"),
                             QStringLiteral("exit"));
    const std::pair<QPushButton*, const char*> names[] = {
        {Clearbtn, "Clearbtn"}, {CalendarBtn, "CalendarBtn"}, {PasteBtn, "PasteBtn"},
        {MthBtn, "MthBtn"},     {HelpBtn, "HelpBtn"},         {CalculatorBtn, "CalculatorBtn"},
        {PrintBtn, "PrintBtn"}, {ExportBtn, "ExportBtn"},     {InternetBtn, "InternetBtn"},
        {ExitBtn, "ExitBtn"}};
    for (const auto& [button, name] : names) button->setObjectName(QString::fromLatin1(name));

    CalcBtn = new QPushButton(this);
    CalcBtn->setObjectName(QStringLiteral("CalcBtn"));
    CalcBtn->hide();

    // The data field's menu is made anew each time it opens; this entry lives with the window, so
    // that its check mark follows the choice while no menu is open.
    FoldAccentsItem = new QAction(QStringLiteral("Value accented letters as their base letters"), this);
    FoldAccentsItem->setObjectName(QStringLiteral("FoldAccentsItem"));
    FoldAccentsItem->setCheckable(true);
}

void TCalcFrm::ConnectCommands() {
    const std::pair<QPushButton*, void (TCalcFrm::*)()> commands[] = {
        {Clearbtn, &TCalcFrm::ClearBtnClick},       {CalendarBtn, &TCalcFrm::CalendarBtnClick},
        {PasteBtn, &TCalcFrm::PasteBtnClick},       {MthBtn, &TCalcFrm::MthBtnClick},
        {HelpBtn, &TCalcFrm::HelpBtnClick},         {CalculatorBtn, &TCalcFrm::CalculatorBtnClick},
        {PrintBtn, &TCalcFrm::PrintBtnClick},       {ExportBtn, &TCalcFrm::ExportBtnClick},
        {InternetBtn, &TCalcFrm::InternetBtnClick}, {ExitBtn, &TCalcFrm::ExitBtnClick},
        {CalcBtn, &TCalcFrm::CalcBtnClick},         {frSpeedButton1, &TCalcFrm::frSpeedButton1Click},
        {DtClearBtn, &TCalcFrm::DtClearBtnClick},   {DtHelpBtn, &TCalcFrm::DtHelpBtnClick},
        {DtCalcBtn, &TCalcFrm::DtCalcBtnClick},
    };
    for (const auto& [button, handler] : commands) connect(button, &QPushButton::clicked, this, handler);
    connect(Data, &QLineEdit::textChanged, this, &TCalcFrm::DataChange);
    // Triggered only by the person: SetFoldAccents sets the check mark without it.
    connect(FoldAccentsItem, &QAction::triggered, this, &TCalcFrm::FoldAccentsItemClick);
    connect(DateEdit, &QLineEdit::textChanged, this, &TCalcFrm::DateEditChange);
}

void TCalcFrm::SetTabOrder() {
    QWidget* const order[] = {Data,    Clearbtn,      CalendarBtn, PasteBtn,  MthBtn,
                              HelpBtn, CalculatorBtn, PrintBtn,    ExportBtn, InternetBtn,
                              ExitBtn, DateEdit,      DtClearBtn,  DtHelpBtn, DtCalcBtn};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void TCalcFrm::FormCreate() {
    DateEdit->SetDate(Today());
    helpFilePath_ = CurrentHelp().FindHelpFile(QDir::currentPath());
    helpHook_ = CurrentHelp().CreateHook(helpFilePath_);
    MthBtn->setText(QString(DisplayName(LetterSystem::Pythagorean).data()));
    state_.letterSystem = LetterSystem::Pythagorean;
    state_.foldAccents = UserSettings()->value(kFoldAccentsSetting, false).toBool();
    FoldAccentsItem->setChecked(state_.foldAccents);
    Panel3->hide();
    setFixedSize(kNarrowClientWidth, kClientHeight);
    CentreOnScreen(*this);
}

void TCalcFrm::DataChange() {
    // A text that is not composed is composed first; setting it comes back here to analyse it.
    if (ComposeData()) return;
    CalcBtn->click();
}

void TCalcFrm::CalcBtnClick() {
    const AnalysisShown shown = RunAnalysis(state_, Data->text().toStdU16String());
    // A field lays its text out anew whenever it is set, also to the same text: a keystroke
    // changes only some of them.
    const std::pair<QLineEdit*, const std::string*> fields[] = {{Vowels, &shown.vowels}, {Constants, &shown.consonants},
                                                                {VTotal, &shown.vTotal}, {CTotal, &shown.cTotal},
                                                                {Total, &shown.total},   {NmDt, &shown.nameDate}};
    for (const auto& [field, text] : fields) {
        const QString value = QString::fromStdString(*text);
        if (field->text() != value) field->setText(value);
    }
    Chart->ShowChart(shown.chart);
}

void TCalcFrm::ClearBtnClick() {
    state_.VowelSum = state_.ConsonantSum = state_.NumberSum = state_.GrandTotal = 0;
    Vowels->clear();
    Constants->clear();
    Data->clear();
    for (QLineEdit* total : {VTotal, CTotal, Total}) total->setText(QStringLiteral("0"));
    Chart->ClearTotals();
    Data->setFocus();
}

void TCalcFrm::MthBtnClick() {
    switch (state_.letterSystem) {
        case LetterSystem::Pythagorean: state_.letterSystem = LetterSystem::Chaldean; break;
        case LetterSystem::Chaldean: state_.letterSystem = LetterSystem::Pythagorean; break;
    }
    MthBtn->setText(QString(DisplayName(state_.letterSystem).data()));
    CalcBtn->click();
}

void TCalcFrm::SetFoldAccents(bool on) {
    state_.foldAccents = on;
    FoldAccentsItem->setChecked(on);
    CalcBtn->click();
}

void TCalcFrm::FoldAccentsItemClick(bool on) {
    UserSettings()->setValue(kFoldAccentsSetting, on);
    SetFoldAccents(on);
}

void TCalcFrm::HelpBtnClick() { CurrentHelp().ShowTopic(helpFilePath_); }

void TCalcFrm::PrintBtnClick() {
    BindPendingPrinters();
    // A preparation that failed or was cancelled leaves nothing worth printing.
    const RunResult prepared = frReport1.Prepare();
    if (!prepared.IsDone()) {
        ShowFailure(prepared, kErrorCaption);
        return;
    }
    QtPrintDialog dialog(this);
    ShowFailure(PrintWithDialog(frReport1, dialog), kApplicationTitle);
}

void TCalcFrm::InternetBtnClick() {
    if (InternetFrm) InternetFrm->exec();
}

void TCalcFrm::CalculatorBtnClick() {
    if (CalculatorFrm) CalculatorFrm->ShowBesideOwner();
}

void TCalcFrm::ExportBtnClick() {
    const auto fileName = AskSaveFileName(this, {QStringLiteral("Rich Text File  (*.rtf)"), QStringLiteral("rtf")});
    if (!fileName) return;
    BindPendingPrinters();
    // A preparation that failed or was cancelled leaves nothing worth a file.
    const RunResult prepared = frReport2.Prepare();
    if (!prepared.IsDone()) {
        ShowFailure(prepared, kErrorCaption);
        return;
    }
    ShowFailure(ExportToFile(frReport2, frRTFExport1, fileName->toStdString()), kApplicationTitle);
}

void TCalcFrm::ExitBtnClick() { close(); }

void TCalcFrm::ShowFailure(const RunResult& result, std::string_view caption) {
    if (result.IsFailed()) CurrentMessages().Show(caption, result.message, MessageIcon::Error);
}

void TCalcFrm::closeEvent(QCloseEvent* event) {
    // The Y question is answered first.
    if (YFrm && YFrm->IsAsking()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    // Closing the analysis window ends the program, whatever companion windows are open.
    QCoreApplication::quit();
}

ReportSource TCalcFrm::CurrentReportSource() const {
    ReportSource source;
    source.method = MthBtn->text().toStdString();
    source.data = Data->text().toStdString();
    source.vowels = Vowels->text().toStdString();
    source.consonants = Constants->text().toStdString();
    source.cTotal = CTotal->text().toStdString();
    source.vTotal = VTotal->text().toStdString();
    source.total = Total->text().toStdString();
    for (int i = 0; i < kChartCellCount; ++i) {
        source.chartCells[static_cast<std::size_t>(i)] = Chart->CellText(i).toStdString();
    }
    source.dates = DateEdit->text().toStdString();
    source.dateTotal = DtTot->text().toStdString();
    source.monthDay = MnTot->text().toStdString();
    source.dayTotal = DyTot->text().toStdString();
    source.nameDate = NmDt->text().toStdString();
    source.dateDigitSum = state_.DateDigitSum;
    source.datePanelVisible = !Panel3->isHidden();
    return source;
}

void TCalcFrm::frReport1GetValue(const std::string& name, ReportValue& value) const {
    value = quillon::GetReportValue(CurrentReportSource(), name);
}

void TCalcFrm::GetReportValue(const std::string& name, Value& value) const {
    ReportValue answer;
    frReport1GetValue(name, answer);
    value = ToValue(answer);
}

}  // namespace quillon
