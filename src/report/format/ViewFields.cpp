#include "report/format/ViewFields.h"

namespace quillon {

void ReadBoxAndFrame(ByteReader& in, TfrView& view) {
    view.Left = in.I32();
    view.Top = in.I32();
    view.Width = in.I32();
    view.Height = in.I32();
    view.Flags = in.U16();
    view.FrameTyp = in.U16();
    view.FrameWidth = ReadFrameWidth(in);
    view.FrameColor = in.U32();
    view.FrameStyle = in.U16();
    view.FillColor = in.U32();
}

void WriteBoxAndFrame(ByteWriter& out, const TfrView& view) {
    out.I32(view.Left);
    out.I32(view.Top);
    out.I32(view.Width);
    out.I32(view.Height);
    out.U16(view.Flags);
    out.U16(view.FrameTyp);
    WriteFrameWidth(out, view.FrameWidth);
    out.U32(view.FrameColor);
    out.U16(view.FrameStyle);
    out.U32(view.FillColor);
}

}  // namespace quillon
