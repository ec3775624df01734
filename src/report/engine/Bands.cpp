#include "report/engine/Bands.h"

#include <algorithm>
#include <limits>
#include <map>
#include <unordered_map>

namespace quillon {
namespace {

bool IsCrossBand(BandType type) {
    return type == BandType::CrossHeader || type == BandType::CrossData || type == BandType::CrossFooter;
}

// The order in which band types take their objects: cross bands first, then every other type
// that a band object may carry (Child is the last; None never comes from a band object).
std::vector<BandType> PlacingOrder() {
    std::vector<BandType> order = {BandType::CrossHeader, BandType::CrossData, BandType::CrossFooter};
    for (int type = 0; type <= static_cast<int>(BandType::Child); ++type) {
        if (!IsCrossBand(static_cast<BandType>(type))) order.push_back(static_cast<BandType>(type));
    }
    return order;
}

bool TakesPart(const TfrView& object) {
    return object.Kind() != ObjectKind::Band && object.Kind() != ObjectKind::SubReport;
}

}  // namespace

TfrBand* PageBands::First(BandType type) const {
    const auto& chain = chains_[Index(type)];
    return chain.empty() ? nullptr : chain.front().get();
}

PageBands PlaceObjects(TfrPage& page) {
    PageBands bands;
    std::vector<bool> placed(page.Objects.size(), false);
    // The objects not placed yet, by their top. Each band takes the ones whose top lies within it
    // and they leave the map, so that many bands over many objects cost no more than a sort.
    std::multimap<std::int32_t, std::size_t> unplaced;
    for (std::size_t i = 0; i < page.Objects.size(); ++i) {
        if (TakesPart(*page.Objects[i])) unplaced.emplace(page.Objects[i]->Top, i);
    }
    auto placeOn = [&](TfrBand& band) {
        const std::int64_t bottom = std::int64_t{band.Top} + band.Height;
        if (bottom < band.Top) return;
        const auto end = bottom > std::numeric_limits<std::int32_t>::max()
                             ? unplaced.end()
                             : unplaced.upper_bound(static_cast<std::int32_t>(bottom));
        std::vector<std::size_t> taken;
        for (auto at = unplaced.lower_bound(band.Top); at != end;) {
            taken.push_back(at->second);
            at = unplaced.erase(at);
        }
        // In template order.
        std::sort(taken.begin(), taken.end());
        for (std::size_t i : taken) {
            page.Objects[i]->Top -= band.Top;
            band.Objects.push_back(page.Objects[i].get());
            placed[i] = true;
        }
    };

    for (BandType type : PlacingOrder()) {
        auto& chain = bands.chains_[PageBands::Index(type)];
        for (auto& object : page.Objects) {
            if (object->Kind() != ObjectKind::Band || object->FrameTyp != static_cast<std::uint16_t>(type)) continue;
            auto* view = static_cast<TfrBandView*>(object.get());
            auto band = std::make_unique<TfrBand>();
            band->Type = type;
            band->View = view;
            band->Flags = view->Flags;
            // A skipped page neither starts new pages nor splits bands.
            if (page.Skip) band->Flags &= static_cast<std::uint16_t>(~(kBandFormNewPage | kBandBreaked));
            band->Top = view->Top;
            band->Height = view->Height;
            band->Visible = view->Visible;
            band->Name = view->Name;
            placeOn(*band);
            chain.push_back(std::move(band));
        }
        std::stable_sort(chain.begin(), chain.end(), [](const auto& a, const auto& b) { return a->Top < b->Top; });
    }

    auto none = std::make_unique<TfrBand>();
    none->Type = BandType::None;
    for (std::size_t i = 0; i < page.Objects.size(); ++i) {
        if (!placed[i] && page.Objects[i]->Kind() != ObjectKind::Band) none->Objects.push_back(page.Objects[i].get());
    }
    bands.chains_[PageBands::Index(BandType::None)].push_back(std::move(none));

    // A band names its child band; the child is a band of type Child, the last of that name (in
    // the order of their tops) other than the band itself.
    std::unordered_map<std::string, std::vector<TfrBand*>> children;
    for (auto& child : bands.chains_[PageBands::Index(BandType::Child)]) children[child->Name].push_back(child.get());
    for (auto& chain : bands.chains_) {
        for (auto& band : chain) {
            if (!band->View || band->View->ChildBand.empty()) continue;
            const auto named = children.find(band->View->ChildBand);
            if (named == children.end()) continue;
            for (auto child = named->second.rbegin(); child != named->second.rend(); ++child) {
                if (*child != band.get()) {
                    band->Child = *child;
                    break;
                }
            }
        }
    }
    return bands;
}

}  // namespace quillon
