#pragma once
// Walks the pieces of a track path, told the kind of each piece.

namespace vra {

class Straight;
class Corner;

class SegmentVisitor {
public:
    virtual ~SegmentVisitor() = default;
    virtual void VisitStraight(const Straight& piece) = 0;
    virtual void VisitCorner(const Corner& piece) = 0;
};

}  // namespace vra
