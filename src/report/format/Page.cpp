#include "report/format/Page.h"

namespace quillon {

TfrPage::TfrPage(const TfrPage& other) { *this = other; }

TfrPage& TfrPage::operator=(const TfrPage& other) {
    if (this == &other) return *this;
    Size = other.Size;
    PaperWidth = other.PaperWidth;
    PaperHeight = other.PaperHeight;
    LeftMargin = other.LeftMargin;
    TopMargin = other.TopMargin;
    RightMargin = other.RightMargin;
    BottomMargin = other.BottomMargin;
    Orientation = other.Orientation;
    Bin = other.Bin;
    PrintToPrevPage = other.PrintToPrevPage;
    UseMargins = other.UseMargins;
    Columns = other.Columns;
    ColumnGap = other.ColumnGap;
    Type = other.Type;
    Name = other.Name;
    BorderStyle = other.BorderStyle;
    Caption = other.Caption;
    Color = other.Color;
    FormLeft = other.FormLeft;
    FormTop = other.FormTop;
    FormWidth = other.FormWidth;
    FormHeight = other.FormHeight;
    Position = other.Position;
    Script = other.Script;
    Visible = other.Visible;
    Skip = other.Skip;
    Metrics = other.Metrics;
    Objects.clear();
    for (const auto& object : other.Objects) Objects.push_back(object->Clone());
    return *this;
}

}  // namespace quillon
