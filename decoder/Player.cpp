#include "decoder/Player.h"

#include "decoder/FrameReader.h"
#include "decoder/Header.h"

namespace sonarel {

TPlayerObject::TPlayerObject() = default;
// The header goes before the stream it was read from.
TPlayerObject::~TPlayerObject()
{
    header.reset();
    stream.reset();
}

void TPlayerObject::PublishHeader()
{
    shown.layer.store(header->Layer());
    shown.bitrate.store(header->Bitrate());
    shown.sampleRate.store(header->SampleRate());
    shown.msPerFrame.store(header->FrameDuration());
}

}  // namespace sonarel
