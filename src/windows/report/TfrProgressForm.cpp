#include "windows/report/TfrProgressForm.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "platform/ScreenPlace.h"

namespace quillon {

TfrProgressForm::TfrProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frProgressForm"));
    setFixedSize(278, 106);
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setGeometry(20, 26, 237, 16);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = new QLabel(this);
    Label2->setGeometry(20, 42, 237, 16);
    Label2->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton(this);
    Button1->setGeometry(100, 68, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TfrProgressForm::reject);
}

void TfrProgressForm::reject() {
    if (cancel_) *cancel_ = true;
    QDialog::reject();
}

bool TfrProgressForm::RunJob(const QString& caption, const QString& firstLabel, const std::function<void()>& job,
                             bool& cancel) {
    setWindowTitle(caption);
    Label1->setText(firstLabel);
    Label2->clear();
    Button1->setText(QStringLiteral("Cancel"));
    job_ = job;
    cancel_ = &cancel;
    const int result = exec();
    job_ = nullptr;
    cancel_ = nullptr;
    return result == QDialog::Accepted;
}

void TfrProgressForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
    // The job starts once the window is up, from the window's own message loop.
    QTimer::singleShot(0, this, [this] {
        if (!job_) return;
        job_();
        if (isVisible() && !(cancel_ && *cancel_)) accept();
        if (isVisible()) reject();
    });
}

bool QtReportProgress::Run(const std::string& caption, const std::string& firstLabel, const std::function<void()>& job,
                           bool& cancel) {
    TfrProgressForm form(QApplication::activeWindow());
    form_ = &form;
    const bool ok = form.RunJob(QString::fromStdString(caption), QString::fromStdString(firstLabel), job, cancel);
    form_ = nullptr;
    return ok;
}

void QtReportProgress::SetLabel(const std::string& text) {
    if (form_) form_->Label1->setText(QString::fromStdString(text));
}

void QtReportProgress::ProcessEvents() { QCoreApplication::processEvents(); }

}  // namespace quillon
