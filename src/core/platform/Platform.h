#pragma once
// The platform services a core flow is handed, in one bundle so that the
// document and the batch modes can pass them on together.

#include "platform/Clipboard.h"
#include "platform/Prompts.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/WaitBox.h"

namespace vra {

struct Platform {
    SettingsStore& settings;
    Prompts& prompts;
    WaitBox& waitBox;
    Clipboard& clipboard;
    Shell& shell;
};

}  // namespace vra
