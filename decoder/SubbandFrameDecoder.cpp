#include "decoder/SubbandFrameDecoder.h"

namespace sonarel {

bool SubbandFrameDecoder::DecodeFrame(FrameReader& stream, const Header& header, Crc16* crc, ChannelSelection channels,
                                      SynthesisFilter& filter1, SynthesisFilter* filter2, AudioOutput& output)
{
    if (header.Layer() == 1)
        return DecodeLayer1(stream, header, crc, channels, filter1, filter2, output);
    if (header.Layer() == 2)
        return DecodeLayer2(stream, header, crc, channels, filter1, filter2, output);
    return false;
}

}  // namespace sonarel
