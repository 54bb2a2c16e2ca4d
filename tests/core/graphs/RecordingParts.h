#pragma once
// A stand-in for the graph window's parts: records every notification and
// keeps a panel's flags and range the way the panel would.

#include "core/graphs/GraphModel.h"
#include "core/graphs/PanelRange.h"

#include <vector>

namespace vra {

class RecordingParts : public GraphParts {
public:
    void Notify(const GraphNotify& n) override {
        sent.push_back(n);
        if (n.code == kRangeChanged) {
            panel.SetFlags(n.flags);
            panel.SetRange({n.x1, n.x2, n.y1, n.y2});
        }
    }
    int PanelFlags() const override { return panel.Flags(); }
    void PanelRange(double& x1, double& x2, double& y1, double& y2) const override {
        const GraphRange r = panel.Range();
        x1 = r.x1, x2 = r.x2, y1 = r.y1, y2 = r.y2;
    }
    void ShowBar(bool show) override { barShown = show; }

    std::vector<int> Codes() const {
        std::vector<int> c;
        for (const auto& n : sent) c.push_back(n.code);
        return c;
    }

    std::vector<GraphNotify> sent;
    vra::PanelRange panel;
    bool barShown = true;
};

}  // namespace vra
