#include "report/engine/ObjectOutput.h"

#include "report/engine/Drawing.h"
#include "report/engine/Expression.h"
#include "report/engine/MemoText.h"

namespace quillon {

std::vector<std::string> ObjectOutput::ExpandedText(TfrMemoView& memo) {
    place_.object = &memo;
    if (const auto kept = expanded_.find(&memo); kept != expanded_.end()) {
        std::vector<std::string> text = std::move(kept->second);
        expanded_.erase(kept);
        return text;
    }
    if (report_.OnBeforePrint) {
        std::vector<std::string> copy = memo.Memo;
        report_.OnBeforePrint(copy, memo);
        if (copy != memo.Memo) return copy;
    }
    // Expansion stops where the text could no longer go onto the pages: a name may stand for a
    // whole memo, and a line may name it thousands of times.
    std::vector<std::string> text = ExpandMemo(
        memo.Memo, (memo.Flags & kMemoTextOnly) != 0,
        [this, &memo](const std::string& name) { return lookup_.NameText(memo, name); }, RemainingLines(),
        RemainingBytes());
    std::size_t bytes = 0;
    for (const std::string& line : text) bytes += line.size();
    if (bytes > RemainingBytes()) ThrowTooManyBytes();
    if (text.size() > RemainingLines()) ThrowTooManyLines();
    return text;
}

std::size_t ObjectOutput::RemainingLines() const {
    const std::size_t used = report_.EMFPages.Lines();
    return used < report_.MaxLines ? report_.MaxLines - used : 0;
}

std::size_t ObjectOutput::RemainingBytes() const {
    const std::size_t used = report_.EMFPages.Bytes();
    return used < report_.MaxBytes ? report_.MaxBytes - used : 0;
}

void ObjectOutput::ThrowTooManyLines() const {
    throw LayoutTooLarge("its pages would hold more than " + std::to_string(report_.MaxLines) + " lines");
}

void ObjectOutput::ThrowTooManyBytes() const {
    throw LayoutTooLarge("its pages would hold more than " + std::to_string(report_.MaxBytes) + " bytes");
}

void ObjectOutput::KeepExpanded(const TfrMemoView& memo, std::vector<std::string> text) {
    expanded_[&memo] = std::move(text);
}

void ObjectOutput::Output(TfrView& object, std::int64_t dx, std::int64_t dy) {
    if (object.Kind() == ObjectKind::Memo) {
        auto& memo = static_cast<TfrMemoView&>(object);
        OutputMemo(memo, ExpandedText(memo), dx, dy);
    } else {
        place_.object = &object;
        OutputAsIs(object, dx, dy, object.Memo);
    }
}

void ObjectOutput::OutputMemo(TfrMemoView& memo, const std::vector<std::string>& text, std::int64_t dx,
                              std::int64_t dy) {
    place_.object = &memo;
    if (!memo.Visible) return;
    TfrMemoView shown = memo;
    if (!memo.HighlightCondition.empty()) {
        const Value condition = EvaluateExpression(memo.HighlightCondition,
                                                   [this](const std::string& name) { return lookup_.Lookup(name); });
        // A number or a flag that is not zero turns the highlight on; text never does.
        if (!IsUnassigned(condition) && !IsZero(condition) && !std::holds_alternative<std::string>(condition)) {
            shown.Font.Style = memo.HighlightStyle;
            shown.Font.Color = memo.HighlightColor;
            shown.FillColor = memo.HighlightFill;
        }
    }
    if (!memo.Tag.empty()) {
        shown.Tag = ExpandLine(
            memo.Tag, [this](const std::string& name) { return lookup_.TagText(name); }, RemainingBytes());
        if (shown.Tag.size() > RemainingBytes()) ThrowTooManyBytes();
    }
    if (memo.Flags & kMemoSuppress) {
        auto& last = lastOutput_[&memo];
        if (last == text) return;
        last = text;
    }
    OutputAsIs(shown, dx, dy, text);
}

void ObjectOutput::OutputAsIs(const TfrView& object, std::int64_t dx, std::int64_t dy,
                              const std::vector<std::string>& text) {
    if (!object.Visible) return;
    if (place_.pageCounter < 0 || place_.pageCounter >= report_.EMFPages.Count()) return;
    std::unique_ptr<TfrView> placed = object.Clone();
    placed->Left = SaturatedInt(placed->Left + dx);
    placed->Top = SaturatedInt(placed->Top + dy);
    // A memo's lines count as drawing and exporting wrap them: a megabyte a character a line is
    // a million lines to draw.
    const std::size_t lines =
        object.Kind() == ObjectKind::Memo
            ? WrappedLineCount(static_cast<const TfrMemoView&>(object), text, scratch_, RemainingLines())
            : text.size();
    report_.EMFPages.AppendObject(place_.pageCounter, *placed, text, lines);
    if (report_.EMFPages.Lines() > report_.MaxLines) ThrowTooManyLines();
    if (report_.EMFPages.Bytes() > report_.MaxBytes) ThrowTooManyBytes();
}

std::string CalculationErrorMessage(const TfrView* object, const std::string& reportName, const std::string& what) {
    std::string message = "An error occured during calculating";
    if (object) {
        for (const std::string& line : object->Memo) message += "\r" + line;
    }
    message += "\r\rReport: " + reportName + "\r";
    if (object) message += "Object: " + object->Name + "\r";
    message += "\r" + what;
    return message;
}

}  // namespace quillon
