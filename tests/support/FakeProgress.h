#pragma once
// A progress window for tests: it runs the job at once, keeps every label it is given, and
// cancels the run when told to, as a click on Cancel would.

#include <functional>
#include <string>
#include <vector>

#include "report/engine/Report.h"

namespace quillon::test {

class FakeProgress final : public ReportProgress {
public:
    bool Run(const std::string&, const std::string& firstLabel, const std::function<void()>& job,
             bool& cancel) override {
        runLabels.push_back(firstLabel);
        labels.push_back(firstLabel);
        cancel_ = &cancel;
        job();
        return !cancel;
    }
    void SetLabel(const std::string& text) override { labels.push_back(text); }
    void ProcessEvents() override {
        if (untilCancel_ > 0 && --untilCancel_ == 0 && cancel_) *cancel_ = true;
    }

    // Cancel is clicked during the n-th pause for events from now on (1: the next one).
    void CancelAt(int pause) { untilCancel_ = pause; }

    std::vector<std::string> runLabels;  // the first label of every run
    std::vector<std::string> labels;     // every label, the first ones included

private:
    int untilCancel_ = 0;
    bool* cancel_ = nullptr;
};

}  // namespace quillon::test
