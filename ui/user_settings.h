// The options the user chose in the window, remembered per user in HKCU\Software\Orvandel as DWORD
// values of 0 or 1. Nothing else is stored.
#pragma once

struct UserSettings {
    bool literals = false;
    bool keepHeader = false;
};

// The remembered options; a value that is missing, unreadable or neither 0 nor 1 means off.
UserSettings LoadUserSettings();
// Stores the options of `settings` that differ from `stored`, and only those: another running copy
// of the program may have stored the others since. False when one could not be stored.
bool SaveUserSettings(const UserSettings& settings, const UserSettings& stored);
