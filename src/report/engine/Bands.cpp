#include "report/engine/Bands.h"

#include <algorithm>

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
    auto placeOn = [&](TfrBand& band) {
        for (std::size_t i = 0; i < page.Objects.size(); ++i) {
            TfrView& object = *page.Objects[i];
            if (placed[i] || !TakesPart(object)) continue;
            if (band.Top <= object.Top && object.Top <= std::int64_t{band.Top} + band.Height) {
                object.Top -= band.Top;
                band.Objects.push_back(&object);
                placed[i] = true;
            }
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

    // A band names its child band; the child is a band of type Child.
    for (auto& chain : bands.chains_) {
        for (auto& band : chain) {
            if (!band->View || band->View->ChildBand.empty()) continue;
            for (auto& child : bands.chains_[PageBands::Index(BandType::Child)]) {
                if (child->Name == band->View->ChildBand && child.get() != band.get()) band->Child = child.get();
            }
        }
    }
    return bands;
}

}  // namespace quillon
