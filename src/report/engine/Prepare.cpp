// Preparation of a report: the page walk, objects placed on bands, bands shown from top to
// bottom with new columns and pages as they fill, page footers, and the output of every object
// with its final text into the prepared pages.

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

#include "platform/Messages.h"
#include "report/content/TemplateStream.h"
#include "report/engine/Drawing.h"
#include "report/engine/Expression.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/MemoText.h"
#include "report/engine/Report.h"

namespace quillon {

struct TfrBand {
    int Type = 0;
    TfrBandView* View = nullptr;
    std::uint16_t Flags = 0;
    int Top = 0, Height = 0;
    std::string Name;
    bool Visible = true;
    std::vector<TfrView*> Objects;  // placed on the band, y relative to its top
    TfrBand* Child = nullptr;
    int ComputedHeight = -1;
    bool Splitting = false;
};

namespace {

enum BandFlag : std::uint16_t {
    kStretched = 0x01, kFormNewPage = 0x02, kBreaked = 0x08, kOnFirstPage = 0x10, kOnLastPage = 0x20,
    kPrintChildIfInvisible = 0x80
};
enum MemoFlag : std::uint16_t { kMemoTextOnly = 0x10, kMemoSuppress = 0x20, kMemoHideZeros = 0x40 };

constexpr int kTypes = kBandTypeCount;
constexpr int kNoneBand = static_cast<int>(BandType::None);

bool Is(int type, BandType which) { return type == static_cast<int>(which); }

bool IsDataBand(int type) {
    return Is(type, BandType::MasterData) || Is(type, BandType::DetailData) || Is(type, BandType::SubdetailData) ||
           Is(type, BandType::CrossData);
}

// The bands of one template page during a run.
struct PageBands {
    std::array<std::vector<std::unique_ptr<TfrBand>>, kTypes> byType;
    TfrBand* First(int type) { return byType[static_cast<std::size_t>(type)].empty() ? nullptr : byType[static_cast<std::size_t>(type)].front().get(); }
};

struct NamedConstant {
    const char* name;
    long long value;
};

constexpr NamedConstant kConstants[] = {
    {"frftNone", 0},    {"frftRight", 1},  {"frftBottom", 2},  {"frftLeft", 4},  {"frftTop", 8},
    {"frtaLeft", 0},    {"frtaRight", 1},  {"frtaCenter", 2},  {"frtaVertical", 4}, {"frtaMiddle", 8},
    {"frtaDown", 16},   {"baNone", 0},     {"baLeft", 1},      {"baRight", 2},   {"baCenter", 3},
    {"baWidth", 4},     {"baBottom", 5},   {"baTop", 6},       {"baRest", 7},    {"psSolid", 0},
    {"psDash", 1},      {"psDot", 2},      {"psDashDot", 3},   {"psDashDotDot", 4}, {"psDouble", 5},
    {"fsBold", 2},      {"fsItalic", 1},   {"fsUnderline", 4}, {"fsStrikeOut", 8}, {"mbOK", 0},
    {"mbCancel", 1},    {"mbYes", 2},      {"mbNo", 3},        {"mrNone", 0},    {"mrOk", 1},
    {"mrCancel", 2},    {"mrYes", 6},      {"mrNo", 7},
};

class ReportRun {
public:
    ReportRun(TfrReport& report, const ReportLocale& locale, Canvas& scratch, DateValue date, TimeValue time)
        : report_(report), locale_(locale), scratch_(scratch), date_(date), time_(time) {}

    bool cancel = false;
    bool error = false;
    std::string errorMessage;

    // The page walk.
    void Walk() {
        if (report_.Environment.progress) report_.Environment.progress->ProcessEvents();
        auto& pages = report_.Template.Pages;
        bands_.clear();
        bands_.resize(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (pages[i].Type == 0) PlaceObjects(pages[i], bands_[i]);
        }
        Progress(pageCounter_ + 1);
        for (std::size_t i = 0; i < pages.size() && !cancel; ++i) {
            TfrPage& page = pages[i];
            if (page.Type != 0 || page.Skip || !page.Visible) continue;
            BuildPage(page, bands_[i]);
            const bool nextContinues = i + 1 < pages.size() && pages[i + 1].PrintToPrevPage;
            if (nextContinues) {
                --pageCounter_;
                continueOnSamePage_ = true;
            } else {
                pageCounter_ = report_.EMFPages.Count();
                Progress(pageCounter_);
            }
        }
        Progress(pageCounter_);
        bands_.clear();
    }

    void Progress(int page) {
        if (report_.OnProgress) {
            report_.OnProgress(page);
        } else if (report_.ShowProgress && report_.Environment.progress) {
            report_.Environment.progress->SetLabel("Processing page:  " + std::to_string(page));
            report_.Environment.progress->ProcessEvents();
        }
    }

private:
    // Placing objects on bands.
    void PlaceObjects(TfrPage& page, PageBands& bands) {
        std::vector<bool> placed(page.Objects.size(), false);
        auto placeOn = [&](TfrBand& band) {
            for (std::size_t i = 0; i < page.Objects.size(); ++i) {
                TfrView& object = *page.Objects[i];
                if (placed[i] || object.Kind() == ObjectKind::Band || object.Kind() == ObjectKind::SubReport) continue;
                if (band.Top <= object.Top && object.Top <= band.Top + band.Height) {
                    object.Top -= band.Top;
                    band.Objects.push_back(&object);
                    placed[i] = true;
                }
            }
        };
        std::vector<int> order = {18, 19, 20};
        for (int type = 0; type <= 21; ++type) {
            if (type < 18 || type > 20) order.push_back(type);
        }
        for (int type : order) {
            for (auto& object : page.Objects) {
                if (object->Kind() != ObjectKind::Band || object->FrameTyp != type) continue;
                auto* view = static_cast<TfrBandView*>(object.get());
                auto band = std::make_unique<TfrBand>();
                band->Type = type;
                band->View = view;
                band->Flags = view->Flags;
                if (page.Skip) band->Flags &= ~(kFormNewPage | kBreaked);
                band->Top = view->Top;
                band->Height = view->Height;
                band->Visible = view->Visible;
                band->Name = view->Name;
                placeOn(*band);
                bands.byType[static_cast<std::size_t>(type)].push_back(std::move(band));
            }
            auto& chain = bands.byType[static_cast<std::size_t>(type)];
            std::stable_sort(chain.begin(), chain.end(), [](const auto& a, const auto& b) { return a->Top < b->Top; });
        }
        auto none = std::make_unique<TfrBand>();
        none->Type = kNoneBand;
        for (std::size_t i = 0; i < page.Objects.size(); ++i) {
            if (!placed[i] && page.Objects[i]->Kind() != ObjectKind::Band) none->Objects.push_back(page.Objects[i].get());
        }
        bands.byType[kNoneBand].push_back(std::move(none));
        // Child bands by name.
        for (auto& chain : bands.byType) {
            for (auto& band : chain) {
                if (!band->View || band->View->ChildBand.empty()) continue;
                for (auto& child : bands.byType[static_cast<std::size_t>(BandType::Child)]) {
                    if (child->Name == band->View->ChildBand && child.get() != band.get()) band->Child = child.get();
                }
            }
        }
    }

    // Page edges and columns.
    void SetEdges(TfrPage& page, PageBands& bands) {
        const PageMetrics& m = page.Metrics;
        if (page.UseMargins) {
            left_ = page.LeftMargin ? page.LeftMargin : m.OffsetX;
            top_ = page.TopMargin ? page.TopMargin : m.OffsetY;
            right_ = page.RightMargin ? m.PageWidth - page.RightMargin : m.OffsetX + m.PrintableWidth;
            bottom_ = page.BottomMargin ? m.PageHeight - page.BottomMargin : m.OffsetY + m.PrintableHeight;
        } else {
            left_ = top_ = 0;
            right_ = m.PageWidth;
            bottom_ = m.PageHeight;
        }
        if (TfrBand* footer = bands.First(static_cast<int>(BandType::PageFooter))) bottom_ -= footer->Height;
        columns_ = std::max(1, page.Columns);
        columnGap_ = page.ColumnGap;
        columnWidth_ = (right_ - left_ - (columns_ - 1) * columnGap_) / columns_;
    }

    void AddPage() {
        report_.EMFPages.Add(*page_);
        if (report_.OnBeginPage) report_.OnBeginPage(pageCounter_);
    }

    void BuildPage(TfrPage& page, PageBands& bands) {
        page_ = &page;
        pageBands_ = &bands;
        SetEdges(page, bands);
        if (continueOnSamePage_) {
            curY_ = savedY_;
            curBottom_ = savedBottom_;
        } else {
            curBottom_ = bottom_;
        }
        column_ = 0;
        xOffset_ = left_;
        if (!continueOnSamePage_) {
            AddPage();
            curY_ = top_;
            ShowBand(bands.First(static_cast<int>(BandType::Overlay)));
            ShowBand(bands.First(kNoneBand));
        }
        continueOnSamePage_ = false;
        if (!report_.OnManualBuild) {
            const int pagesBefore = report_.EMFPages.Count();
            ShowBand(bands.First(static_cast<int>(BandType::ReportTitle)));
            if (report_.EMFPages.Count() == pagesBefore) {
                TfrBand* header = bands.First(static_cast<int>(BandType::PageHeader));
                if (header && (header->Flags & kOnFirstPage)) ShowBand(header);
                ShowBand(bands.First(static_cast<int>(BandType::ColumnHeader)));
            }
        } else {
            report_.OnManualBuild(page);
        }
        // Closing the page: column footer, then the summary with the column footer counted as 0.
        ShowBand(bands.First(static_cast<int>(BandType::ColumnFooter)));
        ignoreColumnFooter_ = true;
        ShowBand(bands.First(static_cast<int>(BandType::ReportSummary)));
        ignoreColumnFooter_ = false;
        savedY_ = curY_;
        savedBottom_ = curBottom_;

        TfrBand* footer = bands.First(static_cast<int>(BandType::PageFooter));
        if (footer && ((pageCounter_ == 0 && (footer->Flags & kOnFirstPage)) || (footer->Flags & kOnLastPage))) {
            const std::uint16_t flags = footer->Flags;
            footer->Flags |= kOnFirstPage;
            FooterPass();
            footer->Flags = flags;
        }
        if (report_.OnEndPage) report_.OnEndPage(pageCounter_);
        ++pageCounter_;
    }

    int ColumnFooterHeight() {
        if (ignoreColumnFooter_) return 0;
        TfrBand* footer = pageBands_->First(static_cast<int>(BandType::ColumnFooter));
        return footer ? footer->Height : 0;
    }

    void FooterPass() {
        column_ = 0;
        xOffset_ = left_;
        TfrBand* footer = pageBands_->First(static_cast<int>(BandType::PageFooter));
        if (footer && (pageCounter_ != 0 || (footer->Flags & kOnFirstPage))) {
            for (; pageCounter_ < report_.EMFPages.Count(); ++pageCounter_) {
                if (report_.OnEndPage) report_.OnEndPage(pageCounter_);
                ShowBand(footer);
            }
        }
        pageCounter_ = report_.EMFPages.Count();
    }

    void NewColumnOrPage() {
        if (column_ + 1 < columns_) {
            ShowBand(pageBands_->First(static_cast<int>(BandType::ColumnFooter)));
            ++column_;
            xOffset_ += columnWidth_ + columnGap_;
            curY_ = columnStart_;
            ShowBand(pageBands_->First(static_cast<int>(BandType::ColumnHeader)));
        } else {
            NewPage();
        }
    }

    void NewPage() {
        Progress(pageCounter_ + 1);
        ShowBand(pageBands_->First(static_cast<int>(BandType::ColumnFooter)));
        FooterPass();
        curBottom_ = bottom_;
        AddPage();
        continueOnSamePage_ = false;
        column_ = 0;
        xOffset_ = left_;
        ShowBand(pageBands_->First(static_cast<int>(BandType::Overlay)));
        curY_ = top_;
        ShowBand(pageBands_->First(static_cast<int>(BandType::PageHeader)));
        ShowBand(pageBands_->First(static_cast<int>(BandType::ColumnHeader)));
    }

    // Showing a band.
    void ShowBand(TfrBand* band) {
        if (!band || cancel) return;
        const int type = band->Type;
        currentBand_ = band;
        band->ComputedHeight = -1;
        if (report_.OnBeginBand) report_.OnBeginBand(*band);
        if (band->Visible) {
            if (Is(type, BandType::ColumnHeader)) columnStart_ = curY_;
            if (Is(type, BandType::PageFooter)) band->Top = curBottom_;
            const bool exists = band->View != nullptr || (type == kNoneBand && !band->Objects.empty());
            if (exists) {
                band->ComputedHeight = std::max(band->ComputedHeight, band->Height);
                const bool fixedPlace = Is(type, BandType::PageFooter) || Is(type, BandType::Overlay) ||
                                        Is(type, BandType::ColumnFooter) || type == kNoneBand;
                if (!fixedPlace) {
                    const int needed = (band->Flags & kStretched) ? StretchedHeight(*band) : band->Height;
                    band->ComputedHeight = needed;
                    if (curY_ + needed > curBottom_ && !band->Splitting) {
                        if (curBottom_ - top_ >= needed || curY_ != top_) {
                            NewColumnOrPage();
                        } else {
                            band->Splitting = true;
                        }
                    }
                }
                DrawBandObjects(*band);
                band->Splitting = false;
                ShowBand(band->Child);
                if (!IsDataBand(type) && (band->Flags & kFormNewPage)) NewPage();
            }
        } else if (band->Flags & kPrintChildIfInvisible) {
            ShowBand(band->Child);
        }
        if (report_.OnEndBand) report_.OnEndBand(*band);
    }

    // The height a stretched band needs: its own, or more when a memo's text needs more.
    int StretchedHeight(TfrBand& band) {
        int needed = band.Height;
        for (TfrView* object : band.Objects) {
            if (object->Kind() != ObjectKind::Memo) continue;
            auto& memo = static_cast<TfrMemoView&>(*object);
            auto text = ExpandedText(memo);
            if (!text) return needed;  // an error: the band draws nothing more
            TfrMemoView measured = memo;
            measured.Memo = *text;
            needed = std::max(needed, memo.Top + MemoTextHeight(measured, scratch_));
            expanded_[&memo] = std::move(*text);
        }
        return needed;
    }

    void DrawBandObjects(TfrBand& band) {
        const int type = band.Type;
        if (Is(type, BandType::PageFooter) || Is(type, BandType::Overlay) || type == kNoneBand) {
            const int top = Is(type, BandType::PageFooter) ? curBottom_ : Is(type, BandType::Overlay) ? band.Top : 0;
            for (TfrView* object : band.Objects) {
                if (!OutputObject(*object, xOffset_ - left_, top)) return;
            }
            return;
        }
        const int height = std::max(band.ComputedHeight, band.Height);
        if (band.Splitting) {
            DrawSplitBand(band, height);
            return;
        }
        if (curBottom_ < curY_ + height + ColumnFooterHeight() && curY_ != top_) NewColumnOrPage();
        const int top = curY_;
        for (TfrView* object : band.Objects) {
            if (!OutputObject(*object, xOffset_ - left_, top)) break;
        }
        curY_ += height;
    }

    // A band taller than the page goes on over as many pages as it needs: each page takes the
    // memo lines that fit whole, and the objects that start within its part of the band.
    void DrawSplitBand(TfrBand& band, int height) {
        struct Piece {
            TfrView* view;
            std::vector<std::string> lines;  // wrapped, for memos
            int lineHeight = 0;
            std::size_t next = 0;
        };
        std::vector<Piece> pieces;
        for (TfrView* object : band.Objects) {
            Piece piece{object, {}, 0, 0};
            if (object->Kind() == ObjectKind::Memo) {
                auto& memo = static_cast<TfrMemoView&>(*object);
                const auto text = ExpandedText(memo);
                if (!text) return;
                scratch_.SetFont(MeasuringFont(memo));
                scratch_.SetCharSpacing(memo.CharSpacing);
                const ConvertedBox box = ConvertBox(memo, DrawContext{});
                const int maxWidth = box.dx - 2 * box.gapX;
                for (const std::string& line : *text) {
                    if (memo.Flags & 0x02) {
                        for (std::string& piece2 : WrapLine(line, maxWidth, scratch_)) piece.lines.push_back(std::move(piece2));
                    } else {
                        piece.lines.push_back(line + kParagraphEnd);
                    }
                }
                piece.lineHeight = std::max(1, memo.LineSpacing + scratch_.FontHeight());
                scratch_.SetCharSpacing(0);
                // The parts are copies of the memo with a few lines each; the memo's own lines are
                // not needed any more (the template returns from its copy after the run).
                memo.Memo.clear();
            }
            pieces.push_back(std::move(piece));
        }

        int offset = 0;
        while (offset < height && !cancel && !error) {
            const int available = curBottom_ - curY_;
            if (available <= 0) {
                if (curBottom_ - top_ <= 0) break;  // a page with no room at all cannot take any part
                NewPage();
                continue;
            }
            // The part ends where no memo line would be cut. Line k of a memo at T is drawn as part of
            // a memo that starts at T + k x line height; the next part starts where it ends.
            int end = offset + available;
            auto partTop = [](const Piece& piece, std::size_t k) {
                return piece.view->Top + static_cast<int>(k) * piece.lineHeight;
            };
            auto fits = [&](const Piece& piece, std::size_t k, int limit) { return partTop(piece, k + 1) <= limit; };
            for (const Piece& piece : pieces) {
                std::size_t k = piece.next;
                while (k < piece.lines.size() && fits(piece, k, end)) ++k;
                if (k < piece.lines.size() && partTop(piece, k) < end && partTop(piece, k) > offset) end = partTop(piece, k);
            }
            for (Piece& piece : pieces) {
                if (piece.lines.empty()) {
                    const int objectTop = piece.view->Top;
                    if (objectTop >= offset && objectTop < end) {
                        if (!OutputPlaced(*piece.view, xOffset_ - left_, curY_ - offset, piece.view->Memo)) return;
                    }
                    continue;
                }
                if (piece.next >= piece.lines.size() || partTop(piece, piece.next) >= end) continue;
                std::size_t k = piece.next;
                while (k < piece.lines.size() && fits(piece, k, end)) ++k;
                // A line taller than a whole page goes alone and is clipped.
                if (k == piece.next && end - offset == available && curY_ == top_) ++k;
                if (k > piece.next) {
                    auto& memo = static_cast<TfrMemoView&>(*piece.view);
                    TfrMemoView part = memo;
                    part.Memo.assign(piece.lines.begin() + static_cast<std::ptrdiff_t>(piece.next),
                                     piece.lines.begin() + static_cast<std::ptrdiff_t>(k));
                    part.Top = partTop(piece, piece.next);
                    part.Height = static_cast<int>(k - piece.next) * piece.lineHeight + 2 * memo.GapY;
                    if (!OutputPlaced(part, xOffset_ - left_, curY_ - offset, part.Memo)) return;
                    piece.next = k;
                }
            }
            curY_ += end - offset;
            offset = end;
            if (offset < height) NewPage();
        }
    }

    // Output of one object.
    bool OutputObject(TfrView& object, int dx, int dy) {
        if (object.Kind() == ObjectKind::Memo) {
            auto& memo = static_cast<TfrMemoView&>(object);
            const auto text = ExpandedText(memo);
            if (!text) return false;
            return OutputMemo(memo, *text, dx, dy);
        }
        return OutputPlaced(object, dx, dy, object.Memo);
    }

    bool OutputMemo(TfrMemoView& memo, const std::vector<std::string>& text, int dx, int dy) {
        currentObject_ = &memo;
        if (!memo.Visible) return true;
        try {
            TfrMemoView shown = memo;
            if (!memo.HighlightCondition.empty()) {
                const Value condition = EvaluateExpression(memo.HighlightCondition, [this](const std::string& n) { return Lookup(n); });
                if (!IsUnassigned(condition) && !IsZero(condition) && !std::holds_alternative<std::string>(condition)) {
                    shown.Font.Style = memo.HighlightStyle;
                    shown.Font.Color = memo.HighlightColor;
                    shown.FillColor = memo.HighlightFill;
                }
            }
            if (!memo.Tag.empty()) {
                shown.Tag = ExpandLine(memo.Tag, [this](const std::string& name) {
                    return FormatValue(Lookup(NameOf(name)), 0, {}, locale_);
                });
            }
            if (memo.Flags & kMemoSuppress) {
                auto& last = lastOutput_[&memo];
                if (last == text) return true;
                last = text;
            }
            return OutputPlaced(shown, dx, dy, text);
        } catch (const std::exception& failure) {
            Fail(memo, failure.what());
            return false;
        }
    }

    bool OutputPlaced(const TfrView& object, int dx, int dy, const std::vector<std::string>& text) {
        if (!object.Visible) return true;
        if (pageCounter_ < 0 || pageCounter_ >= report_.EMFPages.Count()) return true;
        std::unique_ptr<TfrView> placed = object.Clone();
        placed->Left += dx;
        placed->Top += dy;
        report_.EMFPages.AppendObject(pageCounter_, *placed, text);
        return true;
    }

    // The memo's text with its names expanded, or nothing after an error (which is recorded). A
    // stretched band expands its memos to measure them; their output then takes the same lines,
    // so that every name is asked for once.
    std::optional<std::vector<std::string>> ExpandedText(TfrMemoView& memo) {
        if (const auto cached = expanded_.find(&memo); cached != expanded_.end()) {
            std::vector<std::string> text = std::move(cached->second);
            expanded_.erase(cached);
            return text;
        }
        currentObject_ = &memo;
        try {
            if (report_.OnBeforePrint) {
                std::vector<std::string> copy = memo.Memo;
                report_.OnBeforePrint(copy, memo);
                if (copy != memo.Memo) return copy;
            }
            return ExpandMemo(memo.Memo, (memo.Flags & kMemoTextOnly) != 0,
                              [this, &memo](const std::string& name) { return NameText(memo, name); });
        } catch (const std::exception& failure) {
            Fail(memo, failure.what());
            return std::nullopt;
        }
    }

    static std::string NameOf(const std::string& name) {
        const auto hash = name.find(" #");
        return hash == std::string::npos ? name : name.substr(0, hash);
    }

    // The text of one bracketed name of a memo.
    std::string NameText(const TfrMemoView& memo, const std::string& bracketed) {
        std::uint32_t format = memo.Format;
        std::string formatString = memo.FormatString;
        std::string name = bracketed;
        if (const auto hash = bracketed.find(" #"); hash != std::string::npos) {
            // An inline format: N or a digit for numbers, D dates, T times, B booleans, then the
            // pattern.
            name = bracketed.substr(0, hash);
            const std::string inlineFormat = bracketed.substr(hash + 2);
            const char kind = inlineFormat.empty() ? 'N' : static_cast<char>(std::toupper(static_cast<unsigned char>(inlineFormat[0])));
            std::uint32_t category = 1;
            if (kind == 'D') category = 2;
            if (kind == 'T') category = 3;
            if (kind == 'B') category = 4;
            format = (category << 24) | (4u << 16) | (memo.Format & 0xFF);
            const bool lettered = kind == 'N' || kind == 'D' || kind == 'T' || kind == 'B';
            formatString = lettered && !inlineFormat.empty() ? inlineFormat.substr(1) : inlineFormat;
        }
        currentValue_ = Lookup(name);
        if ((memo.Flags & kMemoHideZeros) && IsZero(currentValue_)) return {};
        return FormatValue(currentValue_, format, formatString, locale_);
    }

    // Variable lookup: the value callback first, then the template's own names.
    Value Lookup(const std::string& name) {
        Value value;
        if (report_.OnGetValue) {
            report_.OnGetValue(name, value);
            if (!IsUnassigned(value)) return value;
        }
        if (const TemplateVariable* variable = report_.Template.Variables.Find(name)) {
            if (variable->Value.empty()) return std::string();
            return Evaluate(variable->Value, name);
        }
        if (auto builtIn = BuiltIn(name)) return *builtIn;
        if (auto property = ObjectProperty(name)) return *property;
        for (const NamedConstant& constant : kConstants) {
            if (name == constant.name) return constant.value;
        }
        if (name == "CRLF") return std::string("\r\n");
        if (name == "Null") return Value{};
        return Evaluate(name, name);
    }

    // Evaluates an expression on behalf of a name; a name met again while its own evaluation runs
    // is undefined.
    Value Evaluate(const std::string& expression, const std::string& name) {
        if (!evaluating_.insert(name).second) throw ReportError("Undefined symbol \"" + name + "\"");
        struct Release {
            std::set<std::string>& names;
            const std::string& name;
            ~Release() { names.erase(name); }
        } release{evaluating_, name};
        return EvaluateExpression(expression, [this](const std::string& n) { return Lookup(n); });
    }

    std::optional<Value> BuiltIn(const std::string& name) {
        const ReportInfo& info = report_.Template.Info;
        if (name == "VALUE") return currentValue_;
        if (name == "PAGE#") return static_cast<long long>(pageCounter_ + 1);
        if (name == "DATE") return date_;
        if (name == "TIME") return time_;
        if (name == "LINE#" || name == "LINETHROUGH#" || name == "CURRENT#") return 0LL;
        if (name == "COLUMN#") return static_cast<long long>(column_ + 1);
        if (name == "TOTALPAGES") return 0LL;
        if (name == "REPORTCOMMENT") return info.Comment;
        if (name == "REPORTNAME") return info.Name;
        if (name == "REPORTAUTOR") return info.Author;
        if (name == "VMAJOR") return info.VersionMajor;
        if (name == "VMINOR") return info.VersionMinor;
        if (name == "VRELEASE") return info.VersionRelease;
        if (name == "VBUILD") return info.VersionBuild;
        if (name == "REPORTDATE") return info.Created;
        if (name == "REPORTLASTCHANGE") return info.LastChange;
        if (name == "CALCWIDTH" && currentObject_ && currentObject_->Kind() == ObjectKind::Memo) {
            const auto& memo = static_cast<const TfrMemoView&>(*currentObject_);
            scratch_.SetFont(MeasuringFont(memo));
            int width = 0;
            for (const std::string& line : memo.Memo) width = std::max(width, scratch_.TextWidth(line));
            return static_cast<long long>(width + 2 * memo.GapX);
        }
        if (name == "CURY") return static_cast<long long>(curY_);
        if (name == "FREESPACE") return static_cast<long long>(curBottom_ - curY_);
        if (name == "PAGEHEIGHT") return static_cast<long long>(curBottom_);
        if (name == "PAGEWIDTH") return static_cast<long long>(right_);
        if (name == "FINALPASS") return true;
        return std::nullopt;
    }

    std::optional<Value> ObjectProperty(const std::string& name) {
        const auto dot = name.find('.');
        if (dot == std::string::npos || !page_) return std::nullopt;
        const std::string objectName = name.substr(0, dot);
        const std::string property = name.substr(dot + 1);
        for (const auto& object : page_->Objects) {
            if (object->Name != objectName) continue;
            if (property == "Left") return static_cast<long long>(object->Left);
            if (property == "Top") return static_cast<long long>(object->Top);
            if (property == "Width") return static_cast<long long>(object->Width);
            if (property == "Height") return static_cast<long long>(object->Height);
            if (property == "Visible") return object->Visible;
            if (property == "Name") return object->Name;
            if (property == "Memo") {
                std::string text;
                for (std::size_t i = 0; i < object->Memo.size(); ++i) text += (i ? "\r\n" : "") + object->Memo[i];
                return text;
            }
        }
        return std::nullopt;
    }

    void Fail(const TfrView& object, const std::string& what) {
        error = true;
        cancel = true;
        std::string message = "An error occured during calculating";
        for (const std::string& line : object.Memo) message += "\r" + line;
        message += "\r\rReport: " + report_.Name + "\r";
        message += "Object: " + object.Name + "\r";
        message += "\r" + what;
        errorMessage = message;
    }

    TfrReport& report_;
    const ReportLocale& locale_;
    Canvas& scratch_;
    DateValue date_;
    TimeValue time_;

    std::vector<PageBands> bands_;
    TfrPage* page_ = nullptr;
    PageBands* pageBands_ = nullptr;
    TfrBand* currentBand_ = nullptr;
    const TfrView* currentObject_ = nullptr;
    int pageCounter_ = 0;
    bool continueOnSamePage_ = false;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    int curY_ = 0, curBottom_ = 0, xOffset_ = 0;
    int savedY_ = 0, savedBottom_ = 0;
    int column_ = 0, columns_ = 1, columnWidth_ = 0, columnGap_ = 0, columnStart_ = 0;
    bool ignoreColumnFooter_ = false;
    Value currentValue_;
    std::set<std::string> evaluating_;
    std::unordered_map<const TfrView*, std::vector<std::string>> expanded_;
    std::map<const TfrView*, std::vector<std::string>> lastOutput_;
};

DateValue DateOf(DateTime value) {
    // Civil date from days since 1899-12-30.
    // Days counted from 0000-03-01, the start of the proleptic Gregorian cycle.
    const long long days = static_cast<long long>(std::floor(value)) + 693899;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

TimeValue TimeOf(DateTime value) {
    const double fraction = value - std::floor(value);
    int seconds = static_cast<int>(std::lround(fraction * 86400));
    if (seconds >= 86400) seconds = 86399;
    return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

}  // namespace

bool TfrReport::Prepare() {
    // The printer named with the template, when one is installed.
    if (!Template.PrintToDefault) {
        if (const int index = printer_.IndexOf(Template.PrinterName); index >= 0) printer_.SelectPrinter(index);
    }
    const DateTime now = Environment.now ? Environment.now() : 0;
    static const FixedReportLocale fixedLocale;
    FixedCanvas fixedCanvas;
    const ReportLocale& locale = Environment.locale ? *Environment.locale : fixedLocale;
    Canvas& scratch = Environment.scratch ? *Environment.scratch : fixedCanvas;

    // The copy keeps the template exactly, its printer name and change time included.
    const std::vector<std::uint8_t> saved = WriteTemplate(Template, Template.PrinterName, Template.Info.LastChange);
    ReportRun run(*this, locale, scratch, DateOf(now), TimeOf(now));

    if (OnBeginDoc) OnBeginDoc();
    EMFPages.Clear();
    bool result = true;
    if (OnProgress || !ShowProgress || !Environment.progress) {
        run.Walk();
    } else {
        const std::string caption = Title.empty() ? "Preparing report" : "Preparing report - " + Title;
        // Two passes when asked for; the first only counts the pages.
        if (Template.DoublePassReport) {
            Environment.progress->Run(caption, "Performing 1st pass:  1", [&] { run.Walk(); }, run.cancel);
            EMFPages.Clear();
        }
        result = Environment.progress->Run(caption, "Processing page:  1", [&] { run.Walk(); }, run.cancel);
    }
    if (OnEndDoc) OnEndDoc();

    // Whatever the run changed in the template goes: the template returns from its copy.
    ReadTemplate(saved, Template, printer_, now);
    lastError_ = run.error ? run.errorMessage : std::string();
    if (run.error) {
        CurrentMessages().Show("Error", run.errorMessage, MessageIcon::Error);
        EMFPages.Clear();
    }
    return result;
}

}  // namespace quillon
