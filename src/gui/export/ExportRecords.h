#pragma once
// The personal bests with a button that writes them as a web page into the
// export path.

#include "gui/export/PBViewer.h"

class QPushButton;

namespace vra {

class Prompts;
class Shell;

class ExportRecords : public PBViewer {
    Q_OBJECT
public:
    ExportRecords(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, Prompts& prompts, Shell& shell,
                  QWidget* parent = nullptr);

    QPushButton* ExportButton() const { return export_; }

private:
    QPushButton* export_ = nullptr;
};

}  // namespace vra
