// SPDX-License-Identifier: GPL-3.0-or-later
// Owned IDispatch references and late-bound calls (see DispatchPtr.h).
#include "notes/com/DispatchPtr.h"

#include "notes/NotesError.h"
#include "notes/com/ComFailure.h"
#include "notes/com/ComText.h"

#include <objbase.h>

namespace notes::com {

DispatchPtr::~DispatchPtr()
{
    if (m_object)
        m_object->Release();
}

DispatchPtr::DispatchPtr(DispatchPtr &&other) noexcept : m_object(other.m_object)
{
    other.m_object = nullptr;
}

DispatchPtr &DispatchPtr::operator=(DispatchPtr &&other) noexcept
{
    if (this != &other) {
        if (m_object)
            m_object->Release();
        m_object = other.m_object;
        other.m_object = nullptr;
    }
    return *this;
}

DispatchPtr DispatchPtr::create(const std::string &progId)
{
    const std::wstring name = toWide(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(name.c_str(), &clsid);
    if (FAILED(hr))
        throwFailure("class " + progId, hr);
    IDispatch *object = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void **>(&object));
    if (FAILED(hr))
        throwFailure("class " + progId, hr);
    if (!object)
        throw NotesError("Notes class " + progId + ": no object was created");
    return DispatchPtr(object);
}

DispatchPtr DispatchPtr::fromResult(Variant &result, const std::string &member)
{
    VARIANT &v = result.value();
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown *unknown = v.punkVal;
        if (!unknown)
            return {};
        IDispatch *object = nullptr;
        const HRESULT hr =
            unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&object));
        if (FAILED(hr))
            throwFailure(member, hr);
        return DispatchPtr(object);
    }
    case VT_DISPATCH | VT_BYREF:
    case VT_UNKNOWN | VT_BYREF: {
        Variant direct;
        const HRESULT hr = VariantCopyInd(direct.out(), &v);
        if (FAILED(hr))
            throwFailure(member, hr);
        return fromResult(direct, member);
    }
    default:
        throw NotesError("Notes " + member + ": the result is not an object (type " +
                         std::to_string(v.vt) + ")");
    }
}

Variant DispatchPtr::property(const std::string &member) const
{
    return invoke(member, DISPATCH_PROPERTYGET, {});
}

Variant DispatchPtr::call(const std::string &member, const std::vector<Variant> &args) const
{
    return invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

Variant DispatchPtr::invoke(const std::string &member, WORD flags,
                            const std::vector<Variant> &args) const
{
    if (!m_object)
        throw NotesError("Notes " + member + ": the object is empty");

    std::wstring name = toWide(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        throwFailure(member, hr);

    // Invoke takes the arguments last first. The copies are shallow: `args` keeps ownership.
    std::vector<VARIANTARG> reversed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        reversed[i] = args[args.size() - 1 - i].value();
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());

    Variant result;
    EXCEPINFO info{};
    UINT argError = 0;
    hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.out(), &info,
                          &argError);
    if (FAILED(hr))
        throwFailure(member, hr, &info);
    return result;
}

} // namespace notes::com
