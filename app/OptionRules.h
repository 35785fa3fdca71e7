// The rules behind the main window's options: how its controls map onto
// Settings, how the wrap column is read, what the tray's invert command does.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Settings.h"
#include "ui/DataExchange.h"

constexpr int32_t kMinimumWrapColumn = 60;

// The main window's controls and Settings, in the exchange order the window
// relies on: a bad wrap column stops the read before the switches after it.
void ExchangeMainOptions(ui::DataExchange& dx, Settings& settings);

// The wrap column as the field's text gives it: only its first two characters
// count, read as a decimal number (no digits give 0), and anything below 60
// becomes 60.
int32_t WrapColumnFromField(const std::string& fieldText);

// Flips both placements together, as the tray's invert command does.
void InvertCursorAndSignature(Settings& settings);

// "<label> (<cursor word>/<signature word>)" for the tray's invert item.
std::string InvertMenuText(const std::string& label, const std::string& topWord, const std::string& bottomWord,
                           const Settings& settings);

// The custom header template as text: up to its zero, at most 80 characters
// even when a loaded file left no zero in the field.
std::string CustomHeaderText(const Settings& settings);
// Stores a template with its zero; false (and nothing stored) when longer
// than 80 characters.
bool StoreCustomHeader(Settings& settings, const std::string& text);

// The watch timer's period for a checkInterval: negative values have no
// meaning and count as 0, which the system raises to its minimum.
unsigned int WatchTimerPeriod(int32_t checkInterval);
