#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace quillon {
namespace {

struct PendingAnswer {
    bool set = false;
    bool cancel = false;
    QString fileName;
};

PendingAnswer& Pending() {
    static PendingAnswer pending;
    return pending;
}

}  // namespace

void AnswerNextSaveDialog(std::optional<QString> answer) {
    Pending() = {true, !answer.has_value(), answer.value_or(QString())};
}

std::optional<QString> AskSaveFileName(QWidget* parent, const SaveDialogOptions& options) {
    if (Pending().set) {
        const PendingAnswer answer = Pending();
        Pending() = {};
        if (answer.cancel) return std::nullopt;
        return answer.fileName;
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
