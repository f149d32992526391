// The callbacks every libmspack user here shares: memory, copies and warnings. Files differ per
// user (descriptors for cabinets, memory for help files) and are passed in.
#pragma once

#include <mspack.h>

#include <cstdlib>
#include <cstring>

namespace Platform::Mspack {

// libmspack's warnings about odd files are not shown: failures come back as error codes.
inline void Message(mspack_file*, const char*, ...)
{
}

inline void* Alloc(mspack_system*, size_t bytes)
{
    return std::malloc(bytes);
}

inline void Free(void* p)
{
    std::free(p);
}

inline void Copy(void* source, void* target, size_t bytes)
{
    std::memmove(target, source, bytes);
}

inline mspack_system MakeSystem(decltype(mspack_system::open) open, decltype(mspack_system::close) close,
                                decltype(mspack_system::read) read, decltype(mspack_system::write) write,
                                decltype(mspack_system::seek) seek, decltype(mspack_system::tell) tell)
{
    return mspack_system{open, close, read, write, seek, tell, Message, Alloc, Free, Copy, nullptr};
}

}  // namespace Platform::Mspack
