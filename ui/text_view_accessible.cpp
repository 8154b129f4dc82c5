#include "ui/text_view_accessible.h"

// uiautomationcoreapi.h does not compile as C++ (a parameter named `new`): its few declarations
// used here are below.
#include <uiautomationclient.h>

#include <atomic>
#include <new>

namespace {

constexpr long kEditControlType = 50004;  // UIA_EditControlTypeId
constexpr LONG kUiaRootObjectId = -25;    // UiaRootObjectId
// UIA_E_INVALIDOPERATION: what setting a read-only value answers.
const HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);

// A function of uiautomationcore.dll, loaded from the system folder on first use: mingw-w64 has no
// import library for it. Null where the system has no UI Automation.
template <typename Function>
Function* Automation(const char* name) {
    static const HMODULE module =
        LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr
               ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}
using ReturnRawElementProvider = LRESULT WINAPI(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderFromHwnd = HRESULT WINAPI(HWND, IRawElementProviderSimple**);
using DisconnectProvider = HRESULT WINAPI(IRawElementProviderSimple*);

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void SetSelf(VARIANT* child) {
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
}

}  // namespace

// One object for both kinds of client: Microsoft Active Accessibility (IAccessible) and UI
// Automation (a server-side provider with the Value pattern).
class TextViewAccessible final : public IAccessible,
                                 public IRawElementProviderSimple,
                                 public IValueProvider {
  public:
    TextViewAccessible(HWND window, const AccessibleTextSource& source)
        : window_(window), source_(&source) {}

    void Disconnect() { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IRawElementProviderSimple)) {
            *object = static_cast<IRawElementProviderSimple*>(this);
        } else if (id == __uuidof(IValueProvider)) {
            *object = static_cast<IValueProvider*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: clients call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // What it is.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, &AccessibleTextSource::AccessibleName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, &AccessibleTextSource::AccessibleText);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [] { return static_cast<long>(ROLE_SYSTEM_TEXT); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, [this] {
            long flags = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
            flags |= GetFocus() == window_ ? STATE_SYSTEM_FOCUSED : 0;
            flags |= IsWindowVisible(window_) ? 0 : STATE_SYSTEM_INVISIBLE;
            return flags;
        });
    }

    // Where it is: the client area of its window.
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) {
            return checked;
        }
        RECT client{};
        GetClientRect(window_, &client);
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        *left = client.left;
        *top = client.top;
        *width = client.right - client.left;
        *height = client.bottom - client.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        long left = 0, top = 0, width = 0, height = 0;
        VARIANT self;
        SetSelf(&self);
        if (const HRESULT located = accLocation(&left, &top, &width, &height, self);
            located != S_OK) {
            return located;
        }
        if (x < left || y < top || x >= left + width || y >= top + height) {
            child->vt = VT_EMPTY;
            return S_FALSE;
        }
        SetSelf(child);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (source_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (GetFocus() != window_) {
            focus->vt = VT_EMPTY;
            return S_FALSE;
        }
        SetSelf(focus);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        if (source_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        // The window's own frame object, as for any control.
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) {
            return checked;
        }
        if (flags != SELFLAG_TAKEFOCUS) {
            return E_INVALIDARG;
        }
        SetFocus(window_);
        return S_OK;
    }

    // What it has not: children, a description, help, a shortcut, an action, a selection of
    // children, siblings of its own.
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = 0;
        return source_ != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // UI Automation: what it is, the Value pattern for its text, and the window's own provider for
    // the rest.
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider |
                                                ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override {
        *provider = nullptr;
        if (source_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (pattern == UIA_ValuePatternId) {
            *provider = static_cast<IValueProvider*>(this);
            AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        value->vt = VT_EMPTY;
        if (source_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        switch (property) {
            case UIA_ControlTypePropertyId:
                value->vt = VT_I4;
                value->lVal = kEditControlType;
                return S_OK;
            case UIA_NamePropertyId:
                return AsBstr(source_->AccessibleName(), value);
            case UIA_IsKeyboardFocusablePropertyId:
            case UIA_HasKeyboardFocusPropertyId:
                value->vt = VT_BOOL;
                value->boolVal =
                    property == UIA_IsKeyboardFocusablePropertyId || GetFocus() == window_
                        ? VARIANT_TRUE
                        : VARIANT_FALSE;
                return S_OK;
            default:
                return S_OK;
        }
    }
    HRESULT STDMETHODCALLTYPE
    get_HostRawElementProvider(IRawElementProviderSimple** provider) override {
        *provider = nullptr;
        const auto host = Automation<HostProviderFromHwnd>("UiaHostProviderFromHwnd");
        return host != nullptr ? host(window_, provider) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR) override { return kInvalidOperation; }
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) override {
        VARIANT self;
        SetSelf(&self);
        return get_accValue(self, value);
    }
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override {
        *readOnly = TRUE;
        return source_ != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
    }

    HWND Window() const { return window_; }

  private:
    ~TextViewAccessible() = default;

    static HRESULT AsBstr(std::wstring_view text, VARIANT* value) {
        value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        value->vt = value->bstrVal != nullptr ? VT_BSTR : VT_EMPTY;
        return value->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT Check(const VARIANT& child) const {
        if (source_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }
    HRESULT Text(const VARIANT& child, BSTR* text,
                 std::wstring_view (AccessibleTextSource::*which)() const) const {
        *text = nullptr;
        if (const HRESULT checked = Check(child); checked != S_OK) {
            return checked;
        }
        VARIANT value;
        const HRESULT result = AsBstr((source_->*which)(), &value);
        *text = value.bstrVal;
        return result;
    }
    HRESULT Nothing(const VARIANT& child, BSTR* text) const {
        *text = nullptr;
        const HRESULT checked = Check(child);
        return checked == S_OK ? S_FALSE : checked;
    }
    template <typename Value>
    HRESULT Number(const VARIANT& child, VARIANT* result, Value value) const {
        if (const HRESULT checked = Check(child); checked != S_OK) {
            return checked;
        }
        result->vt = VT_I4;
        result->lVal = value();
        return S_OK;
    }

    std::atomic<ULONG> references_{1};
    HWND window_;
    const AccessibleTextSource* source_;
};

IAccessible* NewAccessibleText(HWND window, const AccessibleTextSource& source) {
    return static_cast<IAccessible*>(new (std::nothrow) TextViewAccessible(window, source));
}

LRESULT AnswerGetObject(IAccessible* object, WPARAM flags, LPARAM id) {
    auto* accessible = static_cast<TextViewAccessible*>(object);
    switch (static_cast<LONG>(static_cast<DWORD>(id))) {
        case OBJID_CLIENT:
            return LresultFromObject(__uuidof(IAccessible), flags, object);
        case kUiaRootObjectId:
            if (const auto answer =
                    Automation<ReturnRawElementProvider>("UiaReturnRawElementProvider")) {
                return answer(accessible->Window(), flags, id, accessible);
            }
            return 0;
        default:
            return 0;
    }
}

void DisconnectAccessibleText(IAccessible* object) {
    if (object == nullptr) {
        return;
    }
    auto* accessible = static_cast<TextViewAccessible*>(object);
    accessible->Disconnect();
    // UI Automation lets go of the window's provider and tells its clients it has gone.
    if (const auto answer = Automation<ReturnRawElementProvider>("UiaReturnRawElementProvider")) {
        answer(accessible->Window(), 0, 0, nullptr);
    }
    if (const auto disconnect = Automation<DisconnectProvider>("UiaDisconnectProvider")) {
        disconnect(accessible);
    }
    object->Release();
}
