#pragma once
// Hardware decoding: VA-API through FFmpeg's hwaccel, where a device opens and the decoder can use
// it. Anything that does not work falls back to software decoding, silently.
struct AVCodec;
struct AVCodecContext;
struct AVFrame;

namespace kestrel {

// Before avcodec_open2: makes `codec` decode on a VA-API device when one opens and `decoder` can
// use it; false (and `codec` as it was) otherwise.
bool useHardwareDecoding(AVCodecContext& codec, const AVCodec& decoder);

// A frame the device decoded is brought into memory in place (through `scratch`), its timestamps
// and flags kept; a frame in memory already is left as it is. False when the transfer fails.
bool toMemoryFrame(AVFrame& frame, AVFrame& scratch);

}  // namespace kestrel
