#include "ui/user_settings.h"

#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\Orvandel";

struct Value {
    bool UserSettings::*option;
    const wchar_t* name;
};
constexpr Value kValues[] = {{&UserSettings::literals, L"Literals"},
                             {&UserSettings::keepHeader, L"KeepHeader"}};

bool Load(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
               ERROR_SUCCESS &&
           value == 1;
}

bool Save(const wchar_t* name, bool on) {
    const DWORD value = on ? 1 : 0;
    return RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &value, sizeof value) ==
           ERROR_SUCCESS;
}

}  // namespace

UserSettings LoadUserSettings() {
    UserSettings settings;
    for (const Value& value : kValues) {
        settings.*value.option = Load(value.name);
    }
    return settings;
}

bool SaveUserSettings(const UserSettings& settings, const UserSettings& stored) {
    bool saved = true;
    for (const Value& value : kValues) {
        if (settings.*value.option != stored.*value.option) {
            saved = Save(value.name, settings.*value.option) && saved;
        }
    }
    return saved;
}
