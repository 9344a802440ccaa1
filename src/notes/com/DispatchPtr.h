// SPDX-License-Identifier: GPL-3.0-or-later
// DispatchPtr: an owned IDispatch reference, released when it goes, and the late-bound calls the
// client makes on it: every member is found by name (GetIDsOfNames) and called through Invoke,
// so no type library of the Notes client is needed and any of its versions serves.
#pragma once

#include "notes/com/Variant.h"

#include <windows.h>

#include <string>
#include <vector>

namespace notes::com {

class DispatchPtr final {
public:
    DispatchPtr() = default;
    // Takes over one reference that the caller owned.
    explicit DispatchPtr(IDispatch *owned) : m_object(owned) {}
    ~DispatchPtr();
    DispatchPtr(DispatchPtr &&other) noexcept;
    DispatchPtr &operator=(DispatchPtr &&other) noexcept;
    DispatchPtr(const DispatchPtr &) = delete;
    DispatchPtr &operator=(const DispatchPtr &) = delete;

    // Creates an object of the COM class `progId` (in-process or local server). Throws
    // NotesError when the class is not registered or cannot start.
    static DispatchPtr create(const std::string &progId);
    // The object a call returned: an empty result (VT_EMPTY, VT_NULL, a null object) gives an
    // empty DispatchPtr; anything else that is not an object throws NotesError.
    static DispatchPtr fromResult(Variant &result, const std::string &member);

    // A second owner of the same object (one more reference).
    DispatchPtr shared() const
    {
        if (m_object)
            m_object->AddRef();
        return DispatchPtr(m_object);
    }

    explicit operator bool() const { return m_object != nullptr; }
    IDispatch *get() const { return m_object; }

    // A property read (DISPATCH_PROPERTYGET).
    Variant property(const std::string &member) const;
    // A method call with its arguments in their natural order; flagged as method or property
    // get, as Visual Basic calls them, since the Notes classes declare some members either way.
    Variant call(const std::string &member, const std::vector<Variant> &args = {}) const;

private:
    Variant invoke(const std::string &member, WORD flags, const std::vector<Variant> &args) const;

    IDispatch *m_object = nullptr;
};

} // namespace notes::com
