#pragma once
// The records of a template stream: the view part that every object shares, the kind parts of
// memos and bands, and the page record.

#include "report/format/ByteStream.h"
#include "report/format/Page.h"

namespace quillon {

// Returns how many lines the memo list holds, kept or not (ByteReader::KeepLines).
std::size_t ReadView(ByteReader& in, TfrView& view);
void WriteView(ByteWriter& out, const TfrView& view);
void ReadMemo(ByteReader& in, TfrMemoView& memo);
void WriteMemo(ByteWriter& out, const TfrMemoView& memo);
void ReadBand(ByteReader& in, TfrBandView& band);
void WriteBand(ByteWriter& out, const TfrBandView& band);
// A page record after its tag; a first field other than -1 is the paper size of the older layout,
// which has no script.
TfrPage ReadPage(ByteReader& in);
// A page record, without its tag.
void WritePage(ByteWriter& out, const TfrPage& page);

}  // namespace quillon
