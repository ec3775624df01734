#pragma once
// The progress window of a report run: a small modal dialog with two centred labels and a Cancel
// button. Once it is visible it runs its job and closes itself; Cancel sets the run's cancel flag
// and closes it, and the job stops at its next check.

#include <QDialog>
#include <functional>

#include "report/engine/Report.h"

class QLabel;
class QPushButton;

namespace quillon {

class TfrProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TfrProgressForm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;

    // Shows the window modally, runs the job once it is visible; false when closed with Cancel.
    bool RunJob(const QString& caption, const QString& firstLabel, const std::function<void()>& job, bool& cancel);

protected:
    void showEvent(QShowEvent* event) override;
    // Escape, the close box and the Cancel button all cancel the run.
    void reject() override;

private:
    std::function<void()> job_;
    bool* cancel_ = nullptr;
};

// The engine's progress interface on a TfrProgressForm.
class QtReportProgress final : public ReportProgress {
public:
    bool Run(const std::string& caption, const std::string& firstLabel, const std::function<void()>& job,
             bool& cancel) override;
    void SetLabel(const std::string& text) override;
    void ProcessEvents() override;

    // The window while a run shows it (for tests).
    TfrProgressForm* Form() const { return form_; }

private:
    TfrProgressForm* form_ = nullptr;
};

}  // namespace quillon
