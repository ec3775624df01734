#include "report/format/Views.h"

namespace quillon {

const char* BandTypeName(int type) {
    static constexpr const char* kNames[kBandTypeCount] = {"Report title",
                                                           "Report summary",
                                                           "Page header",
                                                           "Page footer",
                                                           "Master header",
                                                           "Master data",
                                                           "Master footer",
                                                           "Detail header",
                                                           "Detail data",
                                                           "Detail footer",
                                                           "Subdetail header",
                                                           "Subdetail data",
                                                           "Subdetail footer",
                                                           "Overlay",
                                                           "Column header",
                                                           "Column footer",
                                                           "Group header",
                                                           "Group footer",
                                                           "Cross header",
                                                           "Cross data",
                                                           "Cross footer",
                                                           "Child",
                                                           "None"};
    return type >= 0 && type < kBandTypeCount ? kNames[type] : "";
}

}  // namespace quillon
