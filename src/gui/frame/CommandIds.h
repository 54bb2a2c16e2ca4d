#pragma once
// The command numbers live beside the command-state rule in core.
#include "core/commands/CommandIds.h"
