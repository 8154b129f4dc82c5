#include "ui/user_settings.h"

#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\Orvandel";
constexpr wchar_t kLiterals[] = L"Literals";
constexpr wchar_t kKeepHeader[] = L"KeepHeader";

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
    return {Load(kLiterals), Load(kKeepHeader)};
}

bool SaveUserSettings(const UserSettings& settings) {
    const bool literals = Save(kLiterals, settings.literals);
    return Save(kKeepHeader, settings.keepHeader) && literals;
}
