// The platform services the automation works through, handed in as one
// bundle by whoever hosts the watch.
#pragma once

#include "automation/AccessibilityApi.h"
#include "automation/ClipboardApi.h"
#include "automation/DesktopApi.h"
#include "automation/SystemApi.h"

struct AutomationPlatform {
  WindowSystem& windows;
  InputApi& input;
  ClipboardApi& clipboard;
  Clock& clock;
  MessageBoxes& boxes;
  AccessibilityApi& accessibility;
};
