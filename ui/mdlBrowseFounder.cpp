#include "ui/mdlBrowseFounder.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace mdlBrowseFounder {

namespace {

// COM for this thread, as the browser's new dialog style needs; undone only if done here.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }

  private:
    bool initialised_;
};

struct ItemListFree {
    void operator()(ITEMIDLIST* items) const { CoTaskMemFree(items); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

constexpr DWORD kPathBuffer = 32768;

}  // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& title) {
    const ComApartment com;
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
    const ItemList items(SHBrowseForFolderW(&info));
    if (!items) {
        return std::wstring();
    }
    std::wstring path(kPathBuffer, L'\0');
    if (!SHGetPathFromIDListEx(items.get(), path.data(), kPathBuffer, GPFIDL_DEFAULT)) {
        return std::wstring();
    }
    path.resize(wcslen(path.c_str()));
    return path;
}

}  // namespace mdlBrowseFounder
