// The flat C interface of libSonarel.so: the only symbols the library exports.
#include "decoder/PlayerApi.h"

#define SONAREL_EXPORT extern "C" __attribute__((visibility("default")))

using namespace sonarel;

SONAREL_EXPORT bool init()
{
    return api::Init();
}
SONAREL_EXPORT bool deinit()
{
    return api::Deinit();
}
SONAREL_EXPORT bool Open(const char* FileName, int32_t UseCallbacks, SonarelOpenProc OpenProc,
                         SonarelCloseProc CloseProc, SonarelRewindProc RewindProc, SonarelReadProc ReadProc,
                         SonarelSeekProc SeekProc, SonarelSizeProc SizeProc, void* User)
{
    return api::Open(FileName, UseCallbacks, OpenProc, CloseProc, RewindProc, ReadProc, SeekProc, SizeProc, User);
}
SONAREL_EXPORT bool Close()
{
    return api::Close();
}
SONAREL_EXPORT int32_t Play(uint32_t FromMs, uint32_t ToMs, uint8_t* Done)
{
    return api::Play(FromMs, ToMs, Done);
}
SONAREL_EXPORT bool Pause(int32_t Resume)
{
    return api::Pause(Resume);
}
SONAREL_EXPORT bool Restart()
{
    return api::Restart();
}
SONAREL_EXPORT bool Stop()
{
    return api::Stop();
}
SONAREL_EXPORT bool Seek(uint32_t Ms)
{
    return api::Seek(Ms);
}
SONAREL_EXPORT bool Seekable()
{
    return api::Seekable();
}
SONAREL_EXPORT int32_t GetLength()
{
    return api::GetLength();
}
SONAREL_EXPORT int32_t GetCurrentPos()
{
    return api::GetCurrentPos();
}
SONAREL_EXPORT int32_t GetBitrate()
{
    return api::GetBitrate();
}
SONAREL_EXPORT int32_t GetFrequency()
{
    return api::GetFrequency();
}
SONAREL_EXPORT int32_t GetLayer()
{
    return api::GetLayer();
}
SONAREL_EXPORT int32_t GetPlayerMode()
{
    return api::GetPlayerMode();
}
SONAREL_EXPORT void ResetPlayerMode()
{
    api::ResetPlayerMode();
}
SONAREL_EXPORT bool SetOutputDevice(int32_t DeviceType, const char* FileName)
{
    return api::SetOutputDevice(DeviceType, FileName);
}
SONAREL_EXPORT bool SetPriority(int32_t Priority)
{
    return api::SetPriority(Priority);
}
SONAREL_EXPORT bool UseScaleFactor(int32_t Use, float Factor)
{
    return api::UseScaleFactor(Use, Factor);
}
SONAREL_EXPORT int32_t LastError()
{
    return api::LastError();
}
