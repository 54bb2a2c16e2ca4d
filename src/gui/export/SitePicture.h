#pragma once
// The track map of the report site: with the map view, the picture its
// "Save Trackmap" command draws (the ticked laps' lines over the track);
// without it, the same painter over a track decoded for the replay alone.

#include "core/base/RgbImage.h"
#include "core/reports/Report.h"

#include <QImage>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class KtTrackFile;
class TrackPath;

// A picture's pixels as 8-bit RGB rows. A picture of 32 bits a pixel is
// taken row by row, without a converted copy of the whole.
RgbImage ToRgbImage(const QImage& image);

// The document's track with the lines of the given slots, n x n pixels.
class ViewTrackPicture final : public ReportMapPort {
public:
    ViewTrackPicture(const CRpyGraphDoc& doc, std::vector<int> lineSlots) : doc_(doc), slots_(std::move(lineSlots)) {}
    std::optional<RgbImage> TrackPicture() override;

private:
    const CRpyGraphDoc& doc_;
    std::vector<int> slots_;
};

// A track decoded from the simulation's tracks folder for one replay; the
// document and its track are not touched.
class DecodedTrackPicture final : public ReportMapPort {
public:
    DecodedTrackPicture(const DecodedTrackPicture&) = delete;
    DecodedTrackPicture& operator=(const DecodedTrackPicture&) = delete;
    ~DecodedTrackPicture() override;

    // Decodes simFolder/tracks/<trackName>; nullptr with the decoder's
    // message in error when the track cannot be read.
    static std::unique_ptr<DecodedTrackPicture> Decode(const std::string& simFolder, const std::string& trackName,
                                                       int size, std::string& error);
    // Draws the picture ahead of the site, so that one which cannot be made
    // is known before anything is written; false when it cannot be (a size
    // of 0 or less, or too large for this machine's memory).
    bool Make();
    // The picture made ahead, handed over once; else drawn now.
    std::optional<RgbImage> TrackPicture() override;

private:
    DecodedTrackPicture() = default;
    std::optional<RgbImage> draw() const;

    std::unique_ptr<TrackPath> path_;
    int size_ = 0;
    std::optional<RgbImage> made_;
};

}  // namespace vra
