#pragma once
// The platform services a core flow is handed, in one bundle so that the
// document and the batch modes can pass them on together.

#include "core/platform/Clipboard.h"
#include "core/platform/Prompts.h"
#include "core/platform/SettingsStore.h"
#include "core/platform/Shell.h"
#include "core/platform/WaitBox.h"

namespace vra {

struct Platform {
    SettingsStore& settings;
    Prompts& prompts;
    WaitBox& waitBox;
    Clipboard& clipboard;
    Shell& shell;
};

}  // namespace vra
