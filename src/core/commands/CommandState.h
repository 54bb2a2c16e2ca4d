#pragma once
// Whether each command of the main window is enabled and checked, decided in
// one place from a snapshot of what the program is doing. The window takes a
// snapshot after every change (toolbar, menu, context menu, keys, document)
// and applies the states to every menu entry and button of the command, so a
// check mark can never outlive the state it shows.

#include "core/view/ZoomGeometry.h"

#include <array>
#include <optional>
#include <span>

namespace vra {

struct CommandSnapshot {
    static constexpr int kLaps = 5;

    // The document: loaded laps and which slots hold one.
    int lapCount = 0;
    std::array<bool, kLaps> slotUsed{};
    // The view bar: lap box n (index n - 1) holds a lap / is ticked; the
    // race-line switch.
    std::array<bool, kLaps> lapBoxShown{};
    std::array<bool, kLaps> lapBoxTicked{};
    bool raceLineOn = false;
    // The map's tools: the zoom tool and the hand.
    ZoomMode zoomMode = ZoomMode::Off;
    bool panMode = false;
    // Playback.
    bool playing = false;
    bool paused = false;
    bool fastForward = false;
    bool fastReverse = false;
    bool raceMode = false;
    // A long-running tool window keeps the view busy: nothing may play and
    // nothing may change the document until it closes.
    bool listenerOpen = false;

    bool LapsLoaded() const { return lapCount > 0; }
    bool Idle() const { return !playing && !fastForward && !paused && !listenerOpen; }
    // Playback commands may be offered at all.
    bool PlaybackFree() const { return LapsLoaded() && !listenerOpen; }
};

struct CommandState {
    bool enabled = true;
    // Empty: the command carries no check mark, or keeps the one it has.
    std::optional<bool> checked;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// The state of command id (core/commands/CommandIds.h). A command without a
// rule is always enabled and unchecked-by-rule.
CommandState CommandStateFor(int id, const CommandSnapshot& s);
// Whether id has a rule of its own.
bool HasCommandRule(int id);

// The buttons of the main toolbars in their order; 0 stands for a separator.
// A button whose command the program does not offer yet is left out.
inline constexpr int kSeparator = 0;
std::span<const int> MainToolBarIds();
std::span<const int> PlaybackToolBarIds();
std::span<const int> ZoomToolBarIds();
std::span<const int> LapToolBarIds();

}  // namespace vra
