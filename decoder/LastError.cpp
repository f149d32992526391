#include "decoder/LastError.h"

namespace sonarel {

std::atomic<int32_t> gLastError{ErrorNone};

}  // namespace sonarel
