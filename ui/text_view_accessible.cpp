#include "ui/text_view_accessible.h"

#include <atomic>
#include <new>

namespace {

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void SetSelf(VARIANT* child) {
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
}

}  // namespace

class TextViewAccessible final : public IAccessible {
  public:
    TextViewAccessible(HWND window, const AccessibleTextSource& source)
        : window_(window), source_(&source) {}

    void Disconnect() { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
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
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
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

  private:
    ~TextViewAccessible() = default;

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
        const std::wstring_view value = (source_->*which)();
        *text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
        return *text != nullptr ? S_OK : E_OUTOFMEMORY;
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
    return new (std::nothrow) TextViewAccessible(window, source);
}

void DisconnectAccessibleText(IAccessible* object) {
    if (object != nullptr) {
        static_cast<TextViewAccessible*>(object)->Disconnect();
        object->Release();
    }
}
