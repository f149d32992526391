// Short sounds of the program (answer sounds of the learning games): a WAV file played in the
// background, as the platform's asynchronous sound call does. A new sound replaces the one
// playing. The ALSA device is "default", or LEXORA_ALSA_DEVICE ("null" in tests).
#pragma once

#include <functional>
#include <string>

namespace Platform {

// Starts playing the file and returns at once; false when it cannot be read as a sound file
// (nothing plays then). An empty name stops the sound playing now.
bool PlaySoundAsync(const std::string& fileName);

// Stops the sound playing now and waits for its thread.
void StopSound();

// Tests: every file asked for is passed to the recorder first (an empty function removes it).
void SetSoundRecorder(std::function<void(const std::string& fileName)> recorder);

}  // namespace Platform
