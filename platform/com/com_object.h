// The reference counting that our COM objects share: AddRef, Release and QueryInterface for an
// object's one interface. The last Release frees what the object holds (Free) but keeps the
// object as a husk until its family's state is reset, so that a call on it, or one Release too
// many, is counted in the family's counts instead of crashing.
#pragma once

#include <objbase.h>

namespace platform {

// A family of objects (DirectDraw's, DirectSound's) gives:
//   static auto& Counts();        counts with `callsOnFreed` and `releasesTooMany`
//   static constexpr HRESULT kFreed;  what a call on a freed object answers
// `kIid` is the interface QueryInterface hands out (with IUnknown), or null for none at all.
template <typename Interface, const IID* kIid, typename Family>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if constexpr (kIid == nullptr) {
            return E_NOINTERFACE;
        } else {
            if (freed_) return Misuse(), Family::kFreed;
            if (iid != *kIid && iid != IID_IUnknown) return E_NOINTERFACE;
            AddRef();
            *object = static_cast<Interface*>(this);
            return S_OK;
        }
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        if (freed_) return Misuse(), 0;
        return ++references_;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        if (freed_) {
            ++Family::Counts().releasesTooMany;
            return 0;
        }
        if (--references_ == 0) {
            freed_ = true;
            Free();
        }
        return references_;
    }
    bool Freed() const { return freed_; }
    // Lets go of everything the object holds, when its last reference goes (or its family is
    // reset); it becomes a husk.
    virtual void Free() = 0;

protected:
    static void Misuse() { ++Family::Counts().callsOnFreed; }

    ULONG references_ = 1;
    bool freed_ = false;
};

}  // namespace platform
