// The decoder's own exception: "Stream error" from the frame reader, "Output device failure"
// from the outputs. The exports and the playback thread catch it and turn it into a code.
#pragma once

#include <stdexcept>

namespace sonarel {

class TMPEGError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kStreamErrorText = "Stream error";
inline constexpr const char* kOutputDeviceFailureText = "Output device failure";

}  // namespace sonarel
