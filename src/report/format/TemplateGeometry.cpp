#include "report/format/TemplateGeometry.h"

#include <cmath>
#include <sstream>

namespace quillon {
namespace {

const char* KindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Memo: return "memo";
        case ObjectKind::Picture: return "picture";
        case ObjectKind::Band: return "band";
        case ObjectKind::SubReport: return "subreport";
        case ObjectKind::Line: return "line";
        case ObjectKind::AddIn: return "addin";
    }
    return "object";
}

// Keeps the first field out of bounds, with where it is: "page 1, memo "Memo3": top 1744830612 ...".
class GeometryCheck {
public:
    void AtPage(std::size_t index) {
        page_ = index;
        view_ = nullptr;
    }
    void AtObject(const TfrView& view, std::size_t index) {
        view_ = &view;
        object_ = index;
    }

    void Within(const char* field, double value, double limit, const char* beyond) {
        if (damage_ || std::abs(value) <= limit) return;
        std::ostringstream text;
        text.precision(12);
        text << kDamagedTemplate << "page " << page_ + 1;
        if (view_) {
            text << ", " << KindName(view_->Kind()) << ' ';
            if (view_->Name.empty()) {
                text << object_ + 1;
            } else {
                text << '"' << view_->Name << '"';
            }
        }
        text << ": " << field << ' ' << value << ' ' << beyond;
        damage_ = text.str();
    }
    void Extent(const char* field, double value) {
        Within(field, value, kMaxExtentReportUnits, "lies far outside any page");
    }
    void Spacing(const char* field, double value) { Within(field, value, kSheetReportUnits, "is larger than a page"); }

    std::optional<std::string> Damage() && { return std::move(damage_); }

private:
    std::size_t page_ = 0, object_ = 0;
    const TfrView* view_ = nullptr;
    std::optional<std::string> damage_;
};

void CheckObject(GeometryCheck& check, const TfrView& view) {
    check.Extent("left", view.Left);
    check.Extent("top", view.Top);
    check.Extent("width", view.Width);
    check.Extent("height", view.Height);
    check.Extent("gapX", view.GapX);
    check.Extent("gapY", view.GapY);
    check.Spacing("frameWidth", view.FrameWidth);
    switch (view.Kind()) {
        case ObjectKind::Memo: {
            const auto& memo = static_cast<const TfrMemoView&>(view);
            check.Within("font size", memo.Font.Size, kSheetPoints, "is larger than a page");
            check.Spacing("lineSpacing", memo.LineSpacing);
            check.Spacing("charSpacing", memo.CharSpacing);
            break;
        }
        case ObjectKind::Band: {
            const auto& band = static_cast<const TfrBandView&>(view);
            check.Extent("columnWidth", band.ColumnWidth);
            check.Extent("columnGap", band.ColumnGap);
            break;
        }
        case ObjectKind::Line:
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
}

}  // namespace

std::optional<std::string> DamagedGeometry(const ReportTemplate& report) {
    GeometryCheck check;
    for (std::size_t p = 0; p < report.Pages.size(); ++p) {
        const TfrPage& page = report.Pages[p];
        check.AtPage(p);
        check.Within("paperWidth", page.PaperWidth, kMaxPaperTenthsMm, "is larger than any paper");
        check.Within("paperHeight", page.PaperHeight, kMaxPaperTenthsMm, "is larger than any paper");
        check.Extent("leftMargin", page.LeftMargin);
        check.Extent("topMargin", page.TopMargin);
        check.Extent("rightMargin", page.RightMargin);
        check.Extent("bottomMargin", page.BottomMargin);
        check.Extent("columnGap", page.ColumnGap);
        for (std::size_t i = 0; i < page.Objects.size(); ++i) {
            check.AtObject(*page.Objects[i], i);
            CheckObject(check, *page.Objects[i]);
        }
    }
    return std::move(check).Damage();
}

}  // namespace quillon
