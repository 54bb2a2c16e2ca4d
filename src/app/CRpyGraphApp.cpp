#include "CRpyGraphApp.h"

#include "frame/CMainFrame.h"
#include "map/CRpyGraphView.h"

CRpyGraphApp::CRpyGraphApp(Services services) : services_(services) {}

CRpyGraphApp::~CRpyGraphApp() = default;

bool CRpyGraphApp::InitInstance(const std::vector<std::string>& args) {
    frame_ = std::make_unique<CMainFrame>(services_.settings, services_.shell, services_.prompts);
    view_ = new CRpyGraphView(frame_.get());
    view_->SetPrompts(&services_.prompts);
    frame_->setCentralWidget(view_);
    connect(frame_.get(), &CMainFrame::openLapRequested, this, &CRpyGraphApp::OpenLap);

    // Batch exports arrive with the report modules; until then such a command
    // line starts the program as an ordinary start would.
    commandLine_ = CommandLine::Parse(args);
    frame_->show();
    if (commandLine_.fileToOpen) OpenLap(QString::fromLocal8Bit(commandLine_.fileToOpen->c_str()));
    return true;
}

void CRpyGraphApp::OpenLap(const QString& path) {
    frame_->AddToRecentFileList(path);
}
