#pragma once
// What the document tells the windows that show it. The GUI implements it;
// every notification has an empty default so a listener takes what it needs.

#include <filesystem>
#include <string_view>

namespace vra {

class CRpyGraphDoc;

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;

    // The document's title changed: the track name, or "No lap selected".
    virtual void TitleChanged(std::string_view /*title*/) {}
    // A replay was opened: its path is the document's path and, when
    // addToRecent, the newest entry of the recent-file list.
    virtual void PathNameChanged(const std::filesystem::path& /*path*/, bool /*addToRecent*/) {}
    // What the map shows changed; the views repaint (rebuilding their
    // buffers while the document's full-redraw flag is set).
    virtual void ViewsChanged() {}
    // The loaded laps changed: the lap boxes of the view bar are refilled.
    virtual void LapControlsChanged() {}
    // The laps are about to be cleared: a race playback must end first and
    // the lap boxes are unticked.
    virtual void LapsClearing() {}
};

}  // namespace vra
