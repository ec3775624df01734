#pragma once
// The fields that an object's design record and its printing-form record share, in the same order:
// the box in report units, the flags and the frame, and the fill colour.

#include "report/format/ByteStream.h"
#include "report/format/Views.h"

namespace quillon {

void ReadBoxAndFrame(ByteReader& in, TfrView& view);
void WriteBoxAndFrame(ByteWriter& out, const TfrView& view);

}  // namespace quillon
