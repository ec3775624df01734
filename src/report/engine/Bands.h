#pragma once
// The bands of a template page during a run, and the placing of the page's objects on them. Every
// band object becomes a band; every other object goes to the first band whose area holds its top
// edge, with its top made relative to the band, and what lies outside all bands goes to the None
// band at its page position.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "report/format/Page.h"

namespace quillon {

struct TfrBand {
    BandType Type = BandType::None;
    TfrBandView* View = nullptr;  // none for the None band
    std::uint16_t Flags = 0;
    int Top = 0, Height = 0;
    std::string Name;
    bool Visible = true;
    std::vector<TfrView*> Objects;  // in template order; y relative to the band's top
    TfrBand* Child = nullptr;
    int ComputedHeight = -1;  // of the current pass
    bool Splitting = false;   // taller than a page: drawn in parts
    bool Showing = false;     // being shown, its child bands and the page it asks for included

    bool Has(std::uint16_t flag) const { return (Flags & flag) != 0; }
    // A band is there to be drawn when it has a band object, or is the None band holding objects.
    bool Exists() const { return View != nullptr || (Type == BandType::None && !Objects.empty()); }
};

inline bool IsDataBand(BandType type) {
    return type == BandType::MasterData || type == BandType::DetailData || type == BandType::SubdetailData ||
           type == BandType::CrossData;
}

// Page footers, overlays, column footers and the None band keep their own place on the page;
// every other band is laid out at the current position and moves it down.
inline bool KeepsItsPlace(BandType type) {
    return type == BandType::PageFooter || type == BandType::Overlay || type == BandType::ColumnFooter ||
           type == BandType::None;
}

class PageBands {
public:
    // The first band of a type (the top one), or none.
    TfrBand* First(BandType type) const;
    // Every band of a type, top first.
    const std::vector<std::unique_ptr<TfrBand>>& Chain(BandType type) const { return chains_[Index(type)]; }

private:
    friend PageBands PlaceObjects(TfrPage& page);
    static std::size_t Index(BandType type) { return static_cast<std::size_t>(type); }

    std::array<std::vector<std::unique_ptr<TfrBand>>, kBandTypeCount> chains_;
};

// Makes the bands of a page and places its objects on them. Band types are taken in turn (the
// cross bands first, then the others in type order) and, within a type, band objects in template
// order, so an object inside two bands goes to the band met first. The objects' tops change: the
// caller restores the template afterwards.
PageBands PlaceObjects(TfrPage& page);

}  // namespace quillon
