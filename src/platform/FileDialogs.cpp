#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace quillon {
namespace {

struct PendingAnswer {
    bool set = false;
    std::optional<QString> answer;
};

PendingAnswer& Pending() {
    static PendingAnswer pending;
    return pending;
}

}  // namespace

void AnswerNextSaveDialog(std::optional<QString> answer) { Pending() = {true, std::move(answer)}; }

std::optional<QString> AskSaveFileName(QWidget* parent, const SaveDialogOptions& options) {
    if (Pending().set) {
        std::optional<QString> answer = Pending().answer;
        Pending() = {};
        return answer;
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(options.filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace quillon
