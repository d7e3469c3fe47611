// Settings the game could not take as written. Each is said once on standard
// error, and kept as a short line for the game's own screen, where a player
// started from the application menu sees it.
#pragma once

#include <span>
#include <string>

// Reports that `setting` = `value` was refused for the reason `why`, and
// that the game uses `kept` instead.
void RefuseSetting(const char* setting, const std::string& value, const char* why, const std::string& kept);

// The short lines of the refusals since the last ForgetRefusedSettings, each
// once, in the order they came.
std::span<const std::string> RefusedSettingLines();

void ForgetRefusedSettings();
