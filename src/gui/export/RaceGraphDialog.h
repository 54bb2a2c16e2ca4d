#pragma once
// A race graphic in a window of its own: the picture, "Save as BMP..." and
// "Close". The race history graph shows the gaps to the leader, the
// graphical race report the positions.

#include "core/export/RaceGraphs.h"

#include <QDialog>
#include <QImage>

#include <filesystem>

class QPushButton;

namespace vra {

class CRpyGraphDoc;
class Drivers;
class Header;
class Prompts;

class RaceGraphDialog : public QDialog {
    Q_OBJECT
public:
    const RaceGraph& Graph() const { return graph_; }
    QWidget* Face() const { return face_; }
    QPushButton* SaveButton() const { return save_; }

    // The graphic at the face's size, as the BMP file holds it.
    QImage Picture() const;
    // Writes Picture() as a 24-bit BMP file; false when it could not.
    bool SaveAsBmp(const std::filesystem::path& path) const;
    // Asks for the file and writes it; a failure is told.
    void OnSaveAsBmp();

protected:
    RaceGraphDialog(CRpyGraphDoc& doc, const Drivers& drivers, RaceGraph graph, Prompts& prompts, const QString& title,
                    QWidget* parent);

private:
    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    std::filesystem::path replay_;
    RaceGraph graph_;
    QWidget* face_ = nullptr;
    QPushButton* save_ = nullptr;
};

class RelativeRaceGraph : public RaceGraphDialog {
    Q_OBJECT
public:
    RelativeRaceGraph(CRpyGraphDoc& doc, const Header& header, const Drivers& drivers, Prompts& prompts,
                      QWidget* parent = nullptr);
};

class GraphicalRaceReport : public RaceGraphDialog {
    Q_OBJECT
public:
    GraphicalRaceReport(CRpyGraphDoc& doc, const Header& header, const Drivers& drivers, Prompts& prompts,
                        QWidget* parent = nullptr);
};

}  // namespace vra
