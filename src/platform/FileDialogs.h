#pragma once
// The common file-save dialog, behind a function that tests can answer in advance.

#include <QString>
#include <optional>

class QWidget;

namespace quillon {

struct SaveDialogOptions {
    QString filter;         // "Rich Text File  (*.rtf)"
    QString defaultSuffix;  // "rtf"
};

// The chosen file name, or nothing when the user cancelled. No question is asked before an
// existing file is replaced.
std::optional<QString> AskSaveFileName(QWidget* parent, const SaveDialogOptions& options);

// Makes the next AskSaveFileName answer this without showing a dialog (nothing: Cancel).
void AnswerNextSaveDialog(std::optional<QString> answer);

}  // namespace quillon
