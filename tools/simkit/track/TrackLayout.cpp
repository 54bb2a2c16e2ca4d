#include "simkit/track/TrackLayout.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace vra::simkit {

namespace {

constexpr double kPi = std::numbers::pi;

// Turns p about c by angle a.
Point2D Rotate(Point2D p, Point2D c, double a) {
    const double dx = p.x - c.x;
    const double dy = p.y - c.y;
    return {c.x + dx * std::cos(a) - dy * std::sin(a), c.y + dx * std::sin(a) + dy * std::cos(a)};
}

// Headings as a file stores them: within (-pi, pi].
double StoredHeading(double h) {
    double r = std::remainder(h, 2.0 * kPi);
    if (r <= -kPi) r += 2.0 * kPi;
    return r;
}

// The offsets and straight flag that F and W sections share.
template <typename Desc>
Desc SectionFrom(const LayoutLine& l) {
    Desc d;
    d.startOffset = l.startOffset;
    d.endOffset = l.endOffset;
    d.straight = l.straight;
    return d;
}

}  // namespace

double ExpectedPiece::OffsetAt(const LayoutLine& line, double s) const {
    return line.startOffset + (line.endOffset - line.startOffset) * (s / length);
}

Point2D ExpectedPiece::PointAt(double s, double d) const {
    const Point2D beside{start.x - d * std::sin(start.heading), start.y + d * std::cos(start.heading)};
    if (!corner) return {beside.x + s * std::cos(start.heading), beside.y + s * std::sin(start.heading)};
    return Rotate(beside, centre, sweep * (s / length));
}

TrackLayout::TrackLayout() : fLines_(DefaultBoundaries()), wLines_(DefaultWalls()) {}

std::vector<LayoutLine> TrackLayout::DefaultBoundaries() {
    return {{10.0, 10.0, 5, false}, {7.0, 7.0, 1, false}, {-7.0, -7.0, 12, false}, {-10.0, -10.0, 9, false}};
}

std::vector<LayoutLine> TrackLayout::DefaultWalls() {
    return {{11.0, 11.0, 2, false}, {-11.0, -11.0, 3, false}};
}

TrackLayout& TrackLayout::startAt(double x, double y, double heading) {
    start_ = {x, y, heading};
    return *this;
}

TrackLayout& TrackLayout::straight(double length) {
    Step s;
    s.length = length;
    s.fLines = fLines_;
    s.wLines = wLines_;
    steps_.push_back(std::move(s));
    return *this;
}

TrackLayout& TrackLayout::left(double radius, double degrees) {
    // A half turn or more cannot be told from its opposite in the file.
    if (!(degrees > 0.0 && degrees < 180.0)) throw std::invalid_argument("corner sweep must lie in (0, 180) degrees");
    Step s;
    s.corner = true;
    s.radius = radius;
    s.sweep = degrees * kPi / 180.0;
    s.fLines = fLines_;
    s.wLines = wLines_;
    steps_.push_back(std::move(s));
    return *this;
}

TrackLayout& TrackLayout::right(double radius, double degrees) {
    left(radius, degrees);
    steps_.back().sweep = -steps_.back().sweep;
    return *this;
}

TrackLayout& TrackLayout::boundaries(std::vector<LayoutLine> lines) {
    fLines_ = std::move(lines);
    return *this;
}

TrackLayout& TrackLayout::walls(std::vector<LayoutLine> lines) {
    wLines_ = std::move(lines);
    return *this;
}

TrackLayout& TrackLayout::withBoundaries(std::vector<LayoutLine> lines) {
    steps_.back().fLines = std::move(lines);
    return *this;
}

TrackLayout& TrackLayout::withWalls(std::vector<LayoutLine> lines) {
    steps_.back().wLines = std::move(lines);
    return *this;
}

TrackLayout& TrackLayout::scaled(double factor) {
    for (Step& s : steps_) {
        s.length *= factor;
        s.radius *= factor;
    }
    return *this;
}

TrackLayout& TrackLayout::subdivided(int parts) {
    if (parts <= 1) return *this;
    std::vector<Step> cut;
    cut.reserve(steps_.size() * static_cast<std::size_t>(parts));
    // Offsets change linearly along a step, so each piece takes its share.
    auto share = [parts](std::vector<LayoutLine> lines, int k) {
        for (LayoutLine& line : lines) {
            const double step = (line.endOffset - line.startOffset) / parts;
            line.startOffset += step * k;
            line.endOffset = line.startOffset + step;
        }
        return lines;
    };
    for (const Step& s : steps_)
        for (int k = 0; k < parts; ++k) {
            Step piece = s;
            piece.length = s.length / parts;
            piece.sweep = s.sweep / parts;
            piece.fLines = share(s.fLines, k);
            piece.wLines = share(s.wLines, k);
            cut.push_back(std::move(piece));
        }
    steps_ = std::move(cut);
    return *this;
}

TrackLayout TrackLayout::Oval(double straightLength, double radius) {
    TrackLayout t;
    t.straight(straightLength)
        .left(radius, 90)
        .left(radius, 90)
        .straight(straightLength)
        .left(radius, 90)
        .left(radius, 90);
    return t;
}

TrackLayout TrackLayout::RoadCourse(std::optional<double> totalLength) {
    // Two straights, one along x and one along y, are sized so that the
    // course closes on its start; the turns add up to one full left turn.
    auto build = [](double a, double b) {
        TrackLayout t;
        t.straight(a).left(60, 90).straight(b).right(40, 45).left(40, 45).straight(60).left(30, 90).straight(150);
        t.left(80, 60).right(120, 30).left(50, 60).straight(80).left(70, 90);
        return t;
    };
    const std::vector<ExpectedPiece> open = build(0.0, 0.0).Expected();
    const LayoutPose gap = open.back().end;
    TrackLayout t = build(-gap.x, -gap.y);
    if (totalLength) t.scaled(*totalLength / t.TotalLength());
    return t;
}

std::vector<ExpectedPiece> TrackLayout::Expected() const {
    std::vector<ExpectedPiece> pieces;
    LayoutPose pose = start_;
    double distance = 0.0;
    for (const Step& s : steps_) {
        ExpectedPiece p;
        p.corner = s.corner;
        p.startDistance = distance;
        p.start = pose;
        p.fLines = s.fLines;
        p.wLines = s.wLines;
        if (!s.corner) {
            p.length = s.length;
            p.end = {pose.x + s.length * std::cos(pose.heading), pose.y + s.length * std::sin(pose.heading),
                     pose.heading};
        } else {
            const double side = s.sweep > 0.0 ? 1.0 : -1.0;
            p.radius = s.radius;
            p.sweep = s.sweep;
            p.length = s.radius * std::fabs(s.sweep);
            p.centre = {pose.x + s.radius * std::cos(pose.heading + side * kPi / 2.0),
                        pose.y + s.radius * std::sin(pose.heading + side * kPi / 2.0)};
            const Point2D end = Rotate({pose.x, pose.y}, p.centre, s.sweep);
            p.end = {end.x, end.y, pose.heading + s.sweep};
        }
        distance += p.length;
        pose = p.end;
        pieces.push_back(std::move(p));
    }
    return pieces;
}

double TrackLayout::TotalLength() const {
    double total = 0.0;
    for (const ExpectedPiece& p : Expected()) total += p.length;
    return total;
}

std::vector<SegmentDesc> TrackLayout::Segments() const {
    std::vector<SegmentDesc> segments;
    for (const ExpectedPiece& p : Expected()) {
        SegmentDesc d;
        d.type = p.corner ? 1 : 0;
        d.startX = p.start.x;
        d.startY = p.start.y;
        d.startHeading = StoredHeading(p.start.heading);
        d.endX = p.end.x;
        d.endY = p.end.y;
        d.endHeading = StoredHeading(p.end.heading);
        for (const LayoutLine& l : p.fLines) {
            auto f = SectionFrom<FSectionDesc>(l);
            f.code = l.code;
            d.fSections.refs.push_back(New(f));
        }
        for (const LayoutLine& l : p.wLines) {
            auto w = SectionFrom<WSectionDesc>(l);
            w.kind = l.code;
            d.wSections.refs.push_back(New(w));
        }
        segments.push_back(std::move(d));
    }
    return segments;
}

Ref<TrackDesc> TrackLayout::Describe() const {
    // Objects shared by many owners, written inline once and referred back
    // to afterwards, as real files do.
    TextureDesc asphalt;
    asphalt.name = "asphalt.bmp";
    TextureDesc grass;
    grass.version = 1;
    grass.name = "grass.bmp";
    AppearanceDesc look;
    look.textures[0] = New(asphalt);
    look.textures[2] = New(grass);
    look.values = {1.0, 0.5, 0.25};
    const auto appearance = New(look);
    TextureCoordsDesc coordsDesc;
    coordsDesc.value = 3;
    coordsDesc.firstList = {0.0, 1.0};
    coordsDesc.secondList = {0.5};
    coordsDesc.blocks[4] = std::vector<std::uint8_t>(16, 0x11);
    const auto coords = New(coordsDesc);
    TSODesc tsoDesc;
    tsoDesc.version = 3;
    const auto tso = New(tsoDesc);

    TrackDesc track;
    track.version = 8;
    track.flag = true;
    track.version8Block = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 2; ++i) {
        TrackDetailDesc detail;
        detail.appearance = appearance;
        detail.firstInteger = i;
        detail.firstGroup = {1.0, 2.0, 3.0, 4.0};
        track.details.refs.push_back(New(detail));
        TSOReferenceDesc reference;
        reference.version = i == 0 ? 1 : 6;
        reference.p = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
        reference.tso = tso;
        reference.flag = 0;
        reference.records40 = 1;
        reference.tailBytes = 3;
        track.tsoReferences.refs.push_back(New(reference));
    }

    std::vector<SegmentDesc> segments = Segments();
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SegmentDesc& s = segments[i];
        const bool odd = i % 2 == 1;
        s.version = odd ? 2 : 1;
        s.records12 = odd ? 2 : 0;
        s.records16 = odd ? 1 : 0;
        XSectionDesc plain;
        plain.values = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
        XSectionDesc chained;
        chained.version = 3;
        chained.firstType = 1;
        chained.trailing = XSectionDesc::Chain({1, 2});
        s.xSections.refs = {New(plain), New(chained)};
        for (std::size_t k = 0; k < s.fSections.refs.size(); ++k) {
            FSectionDesc& f = *s.fSections.refs[k].object;
            f.version = odd ? 5 : 4;
            if (k == 1) {
                f.appearance = appearance;
                f.textureCoords = coords;
                f.slots.flags = {0, 1};
            }
        }
        for (auto& ref : s.wSections.refs) {
            WSectionDesc& w = *ref.object;
            w.version = odd ? 7 : 5;
            w.records40 = odd ? 1 : 0;
            WItemDesc first;
            first.groups[0].appearance = appearance;
            first.groups[0].textureCoords = coords;
            first.groups[0].slots.flags = {1, 0};
            WItemDesc second;
            second.lead = 2.5;
            w.items = {first, second};
        }
        track.segments.push_back(New(std::move(s)));
    }
    return New(std::move(track));
}

std::vector<std::uint8_t> TrackLayout::PtfImage() const {
    return PtfBuilder::Build(Describe());
}

double TrackLayout::RaceLineOffsetAt(double distance) const {
    constexpr double kSwing = 5.0;
    const std::vector<ExpectedPiece> pieces = Expected();
    const std::size_t n = pieces.size();
    std::size_t i = 0;
    while (i + 1 < n && distance >= pieces[i].startDistance + pieces[i].length) ++i;
    if (n == 0) return 0.0;
    const ExpectedPiece& p = pieces[i];
    const double s = distance - p.startDistance;
    auto side = [](const ExpectedPiece& c) { return c.sweep > 0.0 ? 1.0 : -1.0; };
    if (p.corner) return side(p) * kSwing * (1.0 - 2.0 * std::fabs(2.0 * s / p.length - 1.0));
    // On a straight: from the outside of the corner before to the outside of
    // the corner after, looking round the closed course.
    const ExpectedPiece* before = nullptr;
    const ExpectedPiece* after = nullptr;
    for (std::size_t k = 1; k < n && !before; ++k)
        if (pieces[(i + n - k) % n].corner) before = &pieces[(i + n - k) % n];
    for (std::size_t k = 1; k < n && !after; ++k)
        if (pieces[(i + k) % n].corner) after = &pieces[(i + k) % n];
    const double from = before ? -side(*before) * kSwing : 0.0;
    const double to = after ? -side(*after) * kSwing : 0.0;
    return from + (to - from) * (s / p.length);
}

}  // namespace vra::simkit
