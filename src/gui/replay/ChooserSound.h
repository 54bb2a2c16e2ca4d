#pragma once

namespace vra {

// The lap chooser's short sound, played without waiting for it to end.
// Silent on a machine without an audio output.
void PlayChooserSound();

// Where the sound lives among the program's resources.
inline constexpr const char* kChooserSoundResource = ":/sounds/chooser.wav";

}  // namespace vra
