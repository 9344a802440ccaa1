// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the Notes client's COM automation classes, for testing the Windows client under
// wine where no Notes client exists: an in-process COM server (DLL) whose hand-written IDispatch
// objects (session, database, view, navigator, entry, document, item) serve the documents of a
// DXL export: its "$People" and "Groups" views and every document. It answers exactly the members
// the program calls, with the flags and argument kinds the Notes classes accept, and returns values
// as the Notes client does (arrays of VARIANT, CR LF line breaks, dates as DATE, "Nothing" as a
// null object).
//
// "Domino.NotesSession" and "Notes.NotesSession" create sessions; "KorvantaTest.Control" creates
// the tests' control object, which serves the book anew, counts live objects and sessions, makes
// a member fail with DISP_E_EXCEPTION, and registers or unregisters the session classes.
#include "notes/NotesError.h"
#include "notes/dxl/DxlClient.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

// {4E0C7D51-2B9A-4C3E-9F61-0D5A8C1E7B01} and the two after it: made up for these tests.
const CLSID kDominoClsid = {
    0x4e0c7d51, 0x2b9a, 0x4c3e, {0x9f, 0x61, 0x0d, 0x5a, 0x8c, 0x1e, 0x7b, 0x01}};
const CLSID kNotesClsid = {
    0x4e0c7d51, 0x2b9a, 0x4c3e, {0x9f, 0x61, 0x0d, 0x5a, 0x8c, 0x1e, 0x7b, 0x02}};
const CLSID kControlClsid = {
    0x4e0c7d51, 0x2b9a, 0x4c3e, {0x9f, 0x61, 0x0d, 0x5a, 0x8c, 0x1e, 0x7b, 0x03}};

struct ClassInfo {
    const wchar_t *progId;
    const CLSID *clsid;
};
const ClassInfo kClasses[] = {{L"Domino.NotesSession", &kDominoClsid},
                              {L"Notes.NotesSession", &kNotesClsid},
                              {L"KorvantaTest.Control", &kControlClsid}};

HMODULE g_module = nullptr;
LONG g_liveObjects = 0;  // Notes objects alive (the control objects not counted)
LONG g_liveControls = 0; // control objects alive
LONG g_locks = 0;

struct Failure {
    int nthCall = 0;
    std::wstring description;
};

std::wstring wide(const std::string &utf8)
{
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

struct Served {
    std::string universalId;
    std::string noteId;
    std::vector<notes::ItemInfo> items;
};

// The lists of documents served: NotesDatabase.AllDocuments, then the views by name.
enum List : std::size_t { kAllDocuments, kPeople, kGroups, kLists };
const char *const kListViews[kLists] = {notes::kEveryDocumentView, "$People", notes::kGroupsView};

struct Book {
    std::string title;
    std::vector<Served> lists[kLists];
};

// The book served: the documents of the DXL export KT_STANDIN_BOOK names, every one in the file's
// order and those of its "$People" and "Groups" views in view order, with every item as the DXL
// client reads it, so that the program's tests can read one book both through the Notes client's
// classes and as DXL. Read when the server is first used and on the control object's Reset.
Book servedBook()
{
    Book book;
    const char *path = std::getenv("KT_STANDIN_BOOK");
    if (!path || !*path)
        return book;
    try {
        auto database = notes::dxl::DxlClient::createSession()->GetDatabase("", path);
        book.title = database->Title();
        for (std::size_t list = 0; list < kLists; ++list) {
            auto navigator = database->GetView(kListViews[list])->CreateViewNav();
            for (auto entry = navigator->GetFirstDocument(); entry;
                 entry = navigator->GetNextDocument(*entry)) {
                auto document = entry->Document();
                book.lists[list].push_back(
                    {document->UniversalID(), document->NoteID(), document->Items()});
            }
        }
    } catch (const notes::NotesError &) {
        // An unreadable book serves no documents: the test that named it sees that.
        book = {"unreadable " + std::string(path), {}};
    }
    return book;
}

struct ServerState {
    Book book = servedBook();
    std::map<std::wstring, int> calls;      // member, spelled as in its table -> calls so far
    std::map<std::wstring, Failure> failAt; // member, spelled as in its table -> which call fails
    std::map<std::wstring, int> creations;  // ProgID -> sessions created
};

ServerState &state()
{
    static ServerState s;
    return s;
}

// Notes on Windows breaks lines inside texts with CR LF.
std::wstring withCrLf(const std::string &utf8)
{
    std::wstring in = wide(utf8);
    std::wstring out;
    for (wchar_t c : in) {
        if (c == L'\n')
            out += L'\r';
        out += c;
    }
    return out;
}

void setText(VARIANT &v, const std::wstring &text)
{
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void setObject(VARIANT &v, IDispatch *object) // takes over the caller's reference
{
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
}

void setValue(VARIANT &v, const notes::ItemValue &value)
{
    switch (value.kind) {
    case notes::ItemValue::Kind::Text:
        setText(v, withCrLf(value.text));
        break;
    case notes::ItemValue::Kind::Number:
        v.vt = VT_R8;
        v.dblVal = value.number;
        break;
    case notes::ItemValue::Kind::DateTime: {
        // A date alone is a whole DATE; a time alone lies on day zero (30 December 1899).
        const notes::DateTime &dt = value.dateTime;
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(dt.hasDate ? dt.year : 1899);
        st.wMonth = static_cast<WORD>(dt.hasDate ? dt.month : 12);
        st.wDay = static_cast<WORD>(dt.hasDate ? dt.day : 30);
        st.wHour = static_cast<WORD>(dt.hasTime ? dt.hour : 0);
        st.wMinute = static_cast<WORD>(dt.hasTime ? dt.minute : 0);
        st.wSecond = static_cast<WORD>(dt.hasTime ? dt.second : 0);
        v.vt = VT_DATE;
        SystemTimeToVariantTime(&st, &v.date);
        break;
    }
    }
}

// A list as Notes hands it out: an array of VARIANT, element i set by set(element, i).
template <class Set> HRESULT setArray(VARIANT &result, std::size_t size, Set set)
{
    SAFEARRAY *array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(size));
    if (!array)
        return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(size); ++i) {
        VARIANT v;
        VariantInit(&v);
        set(v, static_cast<std::size_t>(i));
        SafeArrayPutElement(array, &i, &v);
        VariantClear(&v);
    }
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array;
    return S_OK;
}

HRESULT setValues(VARIANT &result, const notes::ItemValues &values)
{
    return setArray(result, values.size(),
                    [&values](VARIANT &v, std::size_t i) { setValue(v, values[i]); });
}

// The argument at `index` in natural order (Invoke receives them last first).
VARIANT *argument(DISPPARAMS *params, UINT index)
{
    return &params->rgvarg[params->cArgs - 1 - index];
}

bool textArgument(DISPPARAMS *params, UINT index, std::wstring &out)
{
    VARIANT *v = argument(params, index);
    BSTR s = nullptr;
    if (v->vt == VT_BSTR)
        s = v->bstrVal;
    else if (v->vt == (VT_BSTR | VT_BYREF) && v->pbstrVal)
        s = *v->pbstrVal;
    else
        return false;
    out.assign(s ? s : L"", s ? SysStringLen(s) : 0);
    return true;
}

bool numberArgument(DISPPARAMS *params, UINT index, int &out)
{
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, argument(params, index), 0, VT_I4)))
        return false;
    out = converted.lVal;
    return true;
}

struct Member {
    const wchar_t *name;
    bool method; // a method (DISPATCH_METHOD) or a property (DISPATCH_PROPERTYGET)
    UINT argumentCount;
};

// The IDispatch of every stand-in object: names to DISPIDs (index + 1 in the member table),
// flag and argument-count checks, the failure the tests asked for, the live-object count.
class StandInObject : public IDispatch {
public:
    StandInObject(const wchar_t *className, std::vector<Member> members, bool isControl = false)
        : m_className(className), m_members(std::move(members)), m_isControl(isControl)
    {
        InterlockedIncrement(m_isControl ? &g_liveControls : &g_liveObjects);
    }
    virtual ~StandInObject()
    {
        InterlockedDecrement(m_isControl ? &g_liveControls : &g_liveObjects);
    }
    StandInObject(const StandInObject &) = delete;
    StandInObject &operator=(const StandInObject &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_refs));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override
    {
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                            DISPID *ids) override
    {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (i == 0) {
                for (std::size_t m = 0; m < m_members.size(); ++m)
                    if (_wcsicmp(names[0], m_members[m].name) == 0)
                        ids[0] = static_cast<DISPID>(m + 1);
            }
            if (ids[i] == DISPID_UNKNOWN)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *info, UINT *) override
    {
        if (id < 1 || static_cast<std::size_t>(id) > m_members.size())
            return DISP_E_MEMBERNOTFOUND;
        const Member &member = m_members[static_cast<std::size_t>(id - 1)];
        if (!(flags & (member.method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        if (!params)
            return E_INVALIDARG;
        if (params->cNamedArgs != 0)
            return DISP_E_NONAMEDARGS;
        if (params->cArgs != member.argumentCount)
            return DISP_E_BADPARAMCOUNT;
        if (!m_isControl) {
            const int n = ++state().calls[member.name];
            const auto failure = state().failAt.find(member.name);
            if (failure != state().failAt.end() && failure->second.nthCall == n) {
                if (!info)
                    return E_FAIL;
                *info = EXCEPINFO{};
                info->bstrSource = SysAllocString(m_className);
                info->bstrDescription = SysAllocString(failure->second.description.c_str());
                info->scode = E_FAIL;
                return DISP_E_EXCEPTION;
            }
        }
        VARIANT ignored;
        VariantInit(&ignored);
        VARIANT &out = result ? *result : ignored;
        VariantInit(&out);
        const HRESULT hr = call(id - 1, params, out);
        VariantClear(&ignored);
        return hr;
    }

protected:
    // `index` is the member's place in the table; `result` is empty on entry.
    virtual HRESULT call(DISPID index, DISPPARAMS *params, VARIANT &result) = 0;

private:
    LONG m_refs = 1;
    const wchar_t *m_className;
    std::vector<Member> m_members;
    bool m_isControl;
};

const notes::ItemValues *findItem(const Served &document, const std::wstring &name)
{
    for (const notes::ItemInfo &item : document.items)
        if (_wcsicmp(wide(item.name).c_str(), name.c_str()) == 0)
            return &item.values;
    return nullptr;
}

// NotesItem: its name, its type (TEXT, NUMBERS or DATETIMES by its first value) and values.
class Item final : public StandInObject {
public:
    explicit Item(const notes::ItemInfo &item)
        : StandInObject(L"NotesItem",
                        {{L"Name", false, 0}, {L"Type", false, 0}, {L"Values", false, 0}}),
          m_name(item.name), m_values(item.values)
    {
    }

protected:
    HRESULT call(DISPID index, DISPPARAMS *, VARIANT &result) override
    {
        if (index == 0) {
            setText(result, wide(m_name));
            return S_OK;
        }
        if (index == 1) {
            using Kind = notes::ItemValue::Kind;
            const Kind kind = m_values.empty() ? Kind::Text : m_values.front().kind;
            result.vt = VT_I4;
            result.lVal = kind == Kind::Number ? 768 : kind == Kind::DateTime ? 1024 : 1280;
            return S_OK;
        }
        return setValues(result, m_values);
    }

private:
    std::string m_name;
    notes::ItemValues m_values;
};

class Document final : public StandInObject {
public:
    Document(List list, std::size_t index)
        : StandInObject(L"NotesDocument", {{L"UniversalID", false, 0},
                                           {L"NoteID", false, 0},
                                           {L"GetItemValue", true, 1},
                                           {L"Items", false, 0}}),
          m_list(list), m_index(index)
    {
    }
    std::size_t index() const { return m_index; }

protected:
    HRESULT call(DISPID index, DISPPARAMS *params, VARIANT &result) override
    {
        const auto &documents = state().book.lists[m_list];
        if (m_index >= documents.size())
            return E_UNEXPECTED;
        const Served &document = documents[m_index];
        if (index < 2) {
            setText(result, wide(index == 0 ? document.universalId : document.noteId));
            return S_OK;
        }
        if (index == 3)
            return setArray(result, document.items.size(), [&document](VARIANT &v, std::size_t i) {
                setObject(v, new Item(document.items[i]));
            });
        std::wstring name;
        if (!textArgument(params, 0, name))
            return DISP_E_TYPEMISMATCH;
        // Notes gives an item that is not there as one empty text.
        static const notes::ItemValues absent{notes::ItemValue::fromText({})};
        const notes::ItemValues *values = findItem(document, name);
        if (!values || values->empty())
            values = &absent;
        return setValues(result, *values);
    }

private:
    List m_list;
    std::size_t m_index;
};

class Entry final : public StandInObject {
public:
    Entry(List list, std::size_t index)
        : StandInObject(L"NotesViewEntry", {{L"Document", false, 0}}), m_list(list), m_index(index)
    {
    }
    std::size_t index() const { return m_index; }

protected:
    HRESULT call(DISPID, DISPPARAMS *, VARIANT &result) override
    {
        setObject(result, new Document(m_list, m_index));
        return S_OK;
    }

private:
    List m_list;
    std::size_t m_index;
};

// NotesViewNavigator (`Walked` = Entry) and NotesDocumentCollection (NotesDatabase.AllDocuments,
// `Walked` = Document) over one list of the served documents: Count, GetFirstDocument,
// GetNextDocument.
template <class Walked> class Walker final : public StandInObject {
public:
    Walker(const wchar_t *className, List list)
        : StandInObject(className, {{L"Count", false, 0},
                                    {L"GetFirstDocument", true, 0},
                                    {L"GetNextDocument", true, 1}}),
          m_list(list)
    {
    }

protected:
    HRESULT call(DISPID index, DISPPARAMS *params, VARIANT &result) override
    {
        const std::size_t size = state().book.lists[m_list].size();
        if (index == 0) {
            result.vt = VT_I4;
            result.lVal = static_cast<LONG>(size);
            return S_OK;
        }
        std::size_t next = 0;
        if (index == 2) {
            // Visual Basic passes the entry by reference, other callers by value.
            VARIANT *v = argument(params, 0);
            IDispatch *object = v->vt == VT_DISPATCH                                ? v->pdispVal
                                : v->vt == (VT_DISPATCH | VT_BYREF) && v->ppdispVal ? *v->ppdispVal
                                                                                    : nullptr;
            auto *current = dynamic_cast<Walked *>(object);
            if (!current)
                return DISP_E_TYPEMISMATCH;
            next = current->index() + 1;
        }
        // "Nothing" after the last one.
        setObject(result, next < size ? new Walked(m_list, next) : nullptr);
        return S_OK;
    }

private:
    List m_list;
};

class View final : public StandInObject {
public:
    explicit View(List list)
        : StandInObject(L"NotesView", {{L"CreateViewNav", true, 0}}), m_list(list)
    {
    }

protected:
    HRESULT call(DISPID, DISPPARAMS *, VARIANT &result) override
    {
        setObject(result, new Walker<Entry>(L"NotesViewNavigator", m_list));
        return S_OK;
    }

private:
    List m_list;
};

class Database final : public StandInObject {
public:
    Database()
        : StandInObject(L"NotesDatabase",
                        {{L"Title", false, 0}, {L"GetView", true, 1}, {L"AllDocuments", false, 0}})
    {
    }

protected:
    HRESULT call(DISPID index, DISPPARAMS *params, VARIANT &result) override
    {
        if (index == 0) {
            setText(result, wide(state().book.title));
            return S_OK;
        }
        if (index == 2) {
            setObject(result, new Walker<Document>(L"NotesDocumentCollection", kAllDocuments));
            return S_OK;
        }
        std::wstring name;
        if (!textArgument(params, 0, name))
            return DISP_E_TYPEMISMATCH;
        // Notes answers a view the book has not with Nothing.
        for (const List list : {kPeople, kGroups})
            if (_wcsicmp(name.c_str(), wide(kListViews[list]).c_str()) == 0) {
                setObject(result, new View(list));
                return S_OK;
            }
        setObject(result, nullptr);
        return S_OK;
    }
};

class Session final : public StandInObject {
public:
    Session() : StandInObject(L"NotesSession", {{L"GetDatabase", true, 2}}) {}

protected:
    HRESULT call(DISPID, DISPPARAMS *params, VARIANT &result) override
    {
        std::wstring server;
        std::wstring path;
        if (!textArgument(params, 0, server) || !textArgument(params, 1, path))
            return DISP_E_TYPEMISMATCH;
        setObject(result, new Database());
        return S_OK;
    }
};

LSTATUS setDefault(const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Registration under HKEY_CLASSES_ROOT, as regsvr32 does: wine's COM reads classes only there
// (it does not merge in HKEY_CURRENT_USER\Software\Classes as Windows does).
HRESULT registerClass(const ClassInfo &cls, bool on)
{
    wchar_t guid[64];
    StringFromGUID2(*cls.clsid, guid, 64);
    const std::wstring clsid = guid;
    const std::wstring progKey = std::wstring(cls.progId);
    const std::wstring clsidKey = L"CLSID\\" + clsid;
    if (!on) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progKey.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, clsidKey.c_str());
        return S_OK;
    }
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH)
        return E_FAIL;
    LSTATUS status = setDefault(progKey + L"\\CLSID", nullptr, clsid);
    if (status == ERROR_SUCCESS)
        status = setDefault(clsidKey, nullptr, cls.progId);
    if (status == ERROR_SUCCESS)
        status = setDefault(clsidKey + L"\\ProgID", nullptr, cls.progId);
    if (status == ERROR_SUCCESS)
        status = setDefault(clsidKey + L"\\InprocServer32", nullptr, path);
    if (status == ERROR_SUCCESS)
        status = setDefault(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    return HRESULT_FROM_WIN32(status);
}

class Control final : public StandInObject {
public:
    Control()
        : StandInObject(L"KorvantaTest.Control",
                        {{L"LiveObjects", false, 0},
                         {L"Reset", true, 0},
                         {L"FailOn", true, 3},
                         {L"SetRegistered", true, 2},
                         {L"Creations", true, 1}},
                        true)
    {
    }

protected:
    HRESULT call(DISPID index, DISPPARAMS *params, VARIANT &result) override
    {
        std::wstring name;
        int n = 0;
        switch (index) {
        case 0:
            result.vt = VT_I4;
            result.lVal = g_liveObjects;
            return S_OK;
        case 1:
            state().calls.clear();
            state().failAt.clear();
            state().creations.clear();
            state().book = servedBook();
            return S_OK;
        case 2: {
            Failure failure;
            if (!textArgument(params, 0, name) || !numberArgument(params, 1, failure.nthCall) ||
                !textArgument(params, 2, failure.description))
                return DISP_E_TYPEMISMATCH;
            state().failAt[name] = failure;
            return S_OK;
        }
        case 3:
            if (!textArgument(params, 0, name) || !numberArgument(params, 1, n))
                return DISP_E_TYPEMISMATCH;
            for (const ClassInfo &cls : kClasses)
                if (_wcsicmp(cls.progId, name.c_str()) == 0)
                    return registerClass(cls, n != 0);
            return E_INVALIDARG;
        case 4:
            if (!textArgument(params, 0, name))
                return DISP_E_TYPEMISMATCH;
            result.vt = VT_I4;
            result.lVal = state().creations[name];
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
};

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassInfo &cls) : m_class(cls) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factories are static: their lifetime needs no counting.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **out) override
    {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        StandInObject *object = nullptr;
        if (m_class.clsid == &kControlClsid) {
            object = new Control();
        } else {
            object = new Session();
            ++state().creations[m_class.progId];
        }
        const HRESULT hr = object->QueryInterface(riid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    const ClassInfo &m_class;
};

ClassFactory g_factories[] = {ClassFactory(kClasses[0]), ClassFactory(kClasses[1]),
                              ClassFactory(kClasses[2])};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID *out)
{
    for (std::size_t i = 0; i < 3; ++i)
        if (clsid == *kClasses[i].clsid)
            return g_factories[i].QueryInterface(riid, out);
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow()
{
    return g_liveObjects == 0 && g_liveControls == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    for (const ClassInfo &cls : kClasses) {
        const HRESULT hr = registerClass(cls, true);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    for (const ClassInfo &cls : kClasses)
        registerClass(cls, false);
    return S_OK;
}
